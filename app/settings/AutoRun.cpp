#include "app/settings/AutoRun.h"

#include "app/main/ProductInfo.h"
#include "platform/posix/AutoStart.h"

#include <QAction>
#include <QFile>

namespace {

std::string EntryName()
{
    return ProductName().toStdString();
}

} // namespace

bool AutoRunEnabled()
{
    return AutoStartEntryExists(EntryName());
}

void ToggleAutoRun(QAction& check, const QString& executable)
{
    // The entry on disk decides, not the check: a menu flips the check before the work runs.
    const bool enabled = AutoRunEnabled();
    try {
        if (enabled)
            RemoveAutoStartEntry(EntryName());
        else
            WriteAutoStartEntry(EntryName(), QFile::encodeName(executable).toStdString());
    } catch (...) {
        check.setChecked(AutoRunEnabled());
        throw;
    }
    check.setChecked(AutoRunEnabled());
}
