#pragma once
// The program's application object. Qt passes every event of the main thread through
// notify(); catching there turns an exception escaping any event handler or slot into a red
// log line instead of ending the program. Its texts, dates and numbers are Russian.
#include "app/main/RussianInterface.h"

#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TRussianInterface FRussian;
};
