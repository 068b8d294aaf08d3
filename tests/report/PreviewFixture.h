#pragma once
// A preview window over prepared pages assembled in code: A4 pages with memos, the window
// shown at a size (offscreen), and the user's input sent to it.
#include <functional>

#include <QApplication>
#include <QTimer>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "ExportFixture.h"
#include "report/ui/PBox.h"
#include "report/ui/PreviewForm.h"

// Answers the modal dialog of that class once it shows, as a user would.
template <class TDialog>
void WhenShown(std::function<void(TDialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = dynamic_cast<TDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no " << typeid(TDialog).name() << " shows";
        answer(*dialog);
    });
}

class PreviewFixture : public ExportFixture {
protected:
    // The pages printed so far go to the window, shown at the size.
    void ShowPages(QSize size = QSize(800, 600))
    {
        form.TakePages(report);
        form.setWindowState(Qt::WindowNoState);
        form.resize(size);
        form.show();
        form.ResetView(true);
    }

    // A memo at the box in page units, named (links are named "URL...") and tagged.
    void PrintLink(int page, QRect box, const QString& name, const QString& tag)
    {
        Print(page, {box.x(), box.y(), box.width(), box.height(), {name}}, [&](TrpMemoView& memo) {
            memo.Name = name;
            memo.Tag = tag;
        });
    }

    // Where a point of a page (page units) is in the page box.
    QPoint BoxPoint(int page, QPoint unitPoint) const
    {
        const QRect& r = form.PageRects().at(size_t(page));
        return r.topLeft() + QPoint(int(unitPoint.x() * form.Scale), int(unitPoint.y() * form.Scale)) +
               QPoint(form.ScrollOffsetX, form.ScrollOffsetY);
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(form.ScrollBox1, &press);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
            ? Qt::MouseButtons() : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(at), QPointF(form.PBox->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(form.PBox, &event);
    }

    void Click(QPoint at)
    {
        Mouse(QEvent::MouseButtonPress, at);
        Mouse(QEvent::MouseButtonRelease, at);
    }

    // The zoom menu's item of that tag (a percentage, or 1, 2, 3 for the page-fitting modes).
    QAction* ZoomItem(int tag) const
    {
        for (QAction* item : form.ProcMenu->actions())
            if (item->data().toInt() == tag)
                return item;
        return nullptr;
    }

    TrpPreviewForm form{context};
};
