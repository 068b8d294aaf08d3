#pragma once
// The program's application object. Qt passes every event of the main thread through
// notify(); catching there turns an exception escaping any event handler or slot into a red
// log line instead of ending the program. It owns the program's interaction (the modal runner
// and the sink of those exceptions), which main() hands to the main window. Its texts, dates
// and numbers are Russian.
#include "app/main/Interaction.h"
#include "app/main/RussianInterface.h"

#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    TInteraction& Interaction() { return FInteraction; }

private:
    TRussianInterface FRussian;
    TInteraction FInteraction;
};
