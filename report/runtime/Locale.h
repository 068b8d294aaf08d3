#pragma once
// Access to the engine's texts and small pictures. A localisation may supply texts of its own
// through OnLocalize; otherwise they come from the engine's string table. The run context holds
// the locale (TrpRunContext::Locale).
#include <functional>

#include <QImage>
#include <QString>

class TrpLocale {
public:
    TrpLocale();

    // The handler's text when it gives one that is not empty; else the string table's text,
    // or "" for a number the table lacks.
    QString LoadString(int ident) const;
    // The picture of that name among the program's resources (":/report/<name>.png"); a null
    // image when there is none.
    QImage LoadBitmap(const QString& name) const;

    // Set when the engine runs inside a development environment, which this program never does.
    bool InDevelopmentEnvironment = false;
    std::function<void(int ident, QString& text)> OnLocalize;
};
