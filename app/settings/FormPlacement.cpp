#include "app/settings/FormPlacement.h"

#include "platform/posix/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// A stored position that no screen shows any more (a monitor was removed) is not used.
bool OnSomeScreen(const QRect& rect)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(rect))
            return true;
    return false;
}

} // namespace

void RestoreFormPlacement(const IniFile& ini, QWidget& window, const char* section)
{
    const int width = ini.ReadInteger(section, "Width", 0);
    const int height = ini.ReadInteger(section, "Height", 0);
    if (width > 0 && height > 0) {
        const QRect rect(ini.ReadInteger(section, "Left", window.x()), ini.ReadInteger(section, "Top", window.y()),
            width, height);
        window.resize(rect.size());
        if (OnSomeScreen(rect))
            window.move(rect.topLeft());
    }
    if (ini.ReadBool(section, "Maximized", false))
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void SaveFormPlacement(IniFile& ini, const QWidget& window, const char* section)
{
    // Position with the frame, size without it: what move() and resize() take back.
    const bool maximized = window.isMaximized();
    const QRect normal = maximized ? window.normalGeometry() : QRect(window.pos(), window.size());
    ini.WriteInteger(section, "Left", normal.x());
    ini.WriteInteger(section, "Top", normal.y());
    ini.WriteInteger(section, "Width", normal.width());
    ini.WriteInteger(section, "Height", normal.height());
    ini.WriteBool(section, "Maximized", maximized);
}
