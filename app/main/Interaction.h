#pragma once
// What every window of the program reaches through the window it is in: the modal runner that
// shows each dialog and message box (a test puts in one that answers them from a script), and
// the sink of the messages of exceptions nobody handled (the main window puts its log there).
// The application object owns the program's one and main() hands it to the main window, which
// serves everything under it; a test makes its own and serves the widgets it tests with it.
#include "app/main/ModalRunner.h"

#include <functional>
#include <string>

class QObject;

using TExceptionSink = std::function<void(const std::string& message)>;

class TInteraction {
public:
    TInteraction() = default;
    TInteraction(const TInteraction&) = delete;
    TInteraction& operator=(const TInteraction&) = delete;

    // The runner in use: the one that shows real windows unless another was put in place.
    TModalRunner& Modal() const { return *FRunner; }
    // Puts a runner in place (not owned); nullptr brings back the one that shows real windows.
    void SetModalRunner(TModalRunner* runner);

    // Puts a sink in place and returns the one it replaces, for its owner to put back.
    TExceptionSink SetExceptionSink(TExceptionSink sink);
    // Hands the message to the sink; without one it goes to the standard error stream, so that
    // a failure is never lost without a trace.
    void ReportUnhandled(const std::string& message) const;

    // Makes this the interaction of object and of everything under it in the object tree
    // (replacing one served to object before); this must outlive object.
    void Serve(QObject& object);

private:
    TModalRunner FRealRunner;
    TModalRunner* FRunner = &FRealRunner;
    TExceptionSink FSink;
};

// The interaction serving object: the one served to it or to its nearest parent that has one;
// nullptr when none has.
TInteraction* InteractionOf(const QObject* object);
