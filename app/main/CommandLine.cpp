#include "app/main/CommandLine.h"

TCommandLine ParseCommandLine(const QStringList& arguments)
{
    TCommandLine result;
    for (const QString& argument : arguments) {
        const QString word = argument.toLower();
        if (word == QLatin1String("debug"))
            result.Debug = true;
        else if (word == QLatin1String("autosave"))
            result.AutoSave = true;
        else if (word == QLatin1String("no_com"))
            result.NoCom = true;
    }
    return result;
}
