#pragma once
// The windows the main block creates after the main window, living for the whole run; the main
// window keeps them (the local-block window as TfmMain::MBDrive).
class TfmMain;

void CreateLongLivedWindows(TfmMain& mainWindow);
