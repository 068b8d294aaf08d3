#include "report/ui/FormPosition.h"

#include "platform/qt/KeyValueStore.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>


namespace {

const QString kLeft = QStringLiteral("XPosition");
const QString kTop = QStringLiteral("YPosition");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kMaximized = QStringLiteral("Maximized");

// Stored values are texts; anything but a whole decimal number gives the default.
int ReadNumber(const KeyValueStore& store, const QString& key, const QString& name, int defaultValue)
{
    bool ok = false;
    const int value = store.ReadString(key, name).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

// A window counts as shown when its title strip (the top 20 pixels, where it is grabbed to be
// moved) overlaps a screen's free area by a reasonable part.
bool VisibleOnSomeScreen(const QRect& place)
{
    const QRect strip(place.left(), place.top(), place.width(), qMin(place.height(), 20));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = strip & screen->availableGeometry();
        if (shared.width() >= qMin(strip.width(), 40) && shared.height() >= qMin(strip.height(), 10))
            return true;
    }
    return false;
}

QRect BroughtOntoScreen(const QRect& place)
{
    const QScreen* screen = QGuiApplication::screenAt(place.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return place;
    const QRect area = screen->availableGeometry();
    QRect moved(place.topLeft(), place.size().boundedTo(area.size()));
    moved.moveLeft(qBound(area.left(), moved.left(), area.right() + 1 - moved.width()));
    moved.moveTop(qBound(area.top(), moved.top(), area.bottom() + 1 - moved.height()));
    return moved;
}

} // namespace

QString FormPositionKey(const QWidget& form)
{
    return QString::fromLatin1(kReportEngineKey) + QStringLiteral("\\Form\\") +
           QString::fromLatin1(form.metaObject()->className());
}

void SaveFormPosition(const QWidget& form, KeyValueStore& store)
{
    const bool maximized = form.isMaximized();
    const QRect place = maximized && form.normalGeometry().isValid()
        ? form.normalGeometry()
        : QRect(form.pos(), form.size());
    const QString key = FormPositionKey(form);
    try {
        store.BeginUpdate();
        store.WriteString(key, kLeft, QString::number(place.left()));
        store.WriteString(key, kTop, QString::number(place.top()));
        store.WriteString(key, kWidth, QString::number(place.width()));
        store.WriteString(key, kHeight, QString::number(place.height()));
        store.WriteString(key, kMaximized, maximized ? QStringLiteral("1") : QStringLiteral("0"));
        store.EndUpdate();
    } catch (const std::exception& error) {
        qWarning("Window place not saved: %s", error.what());
    }
}

void RestoreFormPosition(QWidget& form, const KeyValueStore& store)
{
    const QString key = FormPositionKey(form);
    const Qt::WindowStates placed = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
    Qt::WindowStates state = form.windowState();
    if (ReadNumber(store, key, kMaximized, 1) == 0)
        state &= ~placed;
    const QRect own = form.isMaximized() && form.normalGeometry().isValid() ? form.normalGeometry()
                                                                           : QRect(form.pos(), form.size());
    QRect place(ReadNumber(store, key, kLeft, own.x()), ReadNumber(store, key, kTop, own.y()),
                ReadNumber(store, key, kWidth, own.width()), ReadNumber(store, key, kHeight, own.height()));
    // The place is the one of the normal state; a window that stays maximized returns to it.
    form.setWindowState(form.windowState() & ~placed);
    if (!VisibleOnSomeScreen(place))
        place = BroughtOntoScreen(place);
    form.move(place.topLeft());
    form.resize(place.size());
    form.setWindowState(state);
}
