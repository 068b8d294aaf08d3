#include "app/LongLivedWindows.h"

// The silo card (TfmSilosParam), the local-block window (TfmMBDrive) and the notification
// settings (TfmOverlay) are created here, in this order, once they exist.
void CreateLongLivedWindows(TfmMain&)
{
}
