#pragma once
// The windows the main block creates after the main window, living for the whole run: the
// silo card, the local-block window and the notification settings.
class TfmMain;

void CreateLongLivedWindows(TfmMain& mainWindow);
