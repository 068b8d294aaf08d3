#include "core/Parameters.h"

#include "platform/posix/ProgramFolder.h"

#include <QStringList>

QString BuiltInCalcProc()
{
    static const char* const lines[] = {
        "// входные переменные: Ri, U1, U2, U3, U4 типа integer",
        "var Ui, Uj, I: double;",
        "begin",
        "//U1=D[0]",
        "//U2=D[2]",
        "//U3=D[4]",
        "//U4=D[6]",
        "",
        "//  2х(U3-U2)=Uк(Uкомпенсации)",
        "//  U1-U2-Uк=Uд(Uдатчика)",
        "//  U2/Rизм=Iд(Rизмерительный;Iдатчика)",
        "//  Uд/Iд=Rд(Rдатчика),=>T(температура)",
        " I:=(U1-U2)/Ri;",
        " Uj:=2*U3;",
        " Ui:=U4-Uj;",
        " if I<>0 then Result:=Ui/I else Result:=65535;",
        "end;",
    };
    QStringList text;
    for (const char* line : lines)
        text << QString::fromUtf8(line);
    return text.join(QStringLiteral("\r\n"));
}

QString DefaultSiloBinsFile()
{
    return QString::fromStdString(ProgramFile("SiloBins.xml"));
}
