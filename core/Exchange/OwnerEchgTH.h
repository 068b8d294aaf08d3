#pragma once
// What a poll pass needs from the window that started it: a receiver for the posted end of the
// pass, and two small callbacks in place of the exchange page's progress bar and title label,
// so that the measurement core never touches a widget.
#include <QString>

#include <functional>

class QObject;

// Shows the pass's progress: `position` steps done out of `maximum`.
using TProgressBarCallback = std::function<void(int position, int maximum)>;
// Shows the pass's current activity ("Опрос ТД №1 в термоподвеске ...").
using TTitleLabelCallback = std::function<void(const QString& text)>;

class IOwnerEchgTH {
public:
    virtual ~IOwnerEchgTH() = default;
    // Receives WM_EXCHANGE_DONE (a QEvent of that type) at the end of every pass, and runs the
    // progress and title callbacks: all of them reach it as queued calls on its own thread, in
    // the order the pass made them. Without a receiver the callbacks run on the pass's thread
    // and the end is not posted (waiting for the pass is then the only way to learn of it).
    virtual QObject* GetHandle() = 0;
    virtual TProgressBarCallback GetProgressBar() = 0;
    virtual TTitleLabelCallback GetTitleLabel() = 0;
};
