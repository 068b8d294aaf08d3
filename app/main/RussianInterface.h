#pragma once
// Every text the program shows is Russian. Qt's own buttons and dialogs (Yes/No, OK/Cancel,
// the file dialog) take Qt's Russian translations. Dates and numbers follow the user's locale
// when it is a Russian one and are Russian otherwise (C, POSIX, English...), so that one screen
// never mixes two languages.
#include <QByteArray>
#include <QLocale>
#include <QTranslator>

#include <functional>
#include <utility>
#include <vector>

// The locale dates and numbers are shown in, for the user's locale.
QLocale InterfaceLocale(const QLocale& user);

// The locale variables to set so that Qt's system locale (which Qt's own widgets use, such as
// the file dialog's dates and sizes) is the interface locale: each category Qt reads whose
// value, given by the environment lookup, names no Russian locale.
using TEnvironmentLookup = std::function<QByteArray(const char* name)>;
std::vector<std::pair<QByteArray, QByteArray>> RussianLocaleVariables(const TEnvironmentLookup& environment);

// Sets those variables; runs before the application object, since Qt reads them once. The C
// library keeps the user's own locale.
void UseRussianSystemLocale();

// Qt's Russian translations, with the few texts they lack or keep in Latin letters (a Russian
// system writes "ОК" in Cyrillic).
class TQtRussianTranslator final : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
        int n = -1) const override;
};

// Installs the Russian translations into the application and makes the interface locale the
// default one for as long as it lives; widgets created meanwhile keep that locale.
class TRussianInterface {
public:
    explicit TRussianInterface(const QLocale& user = QLocale::system());
    ~TRussianInterface();
    TRussianInterface(const TRussianInterface&) = delete;
    TRussianInterface& operator=(const TRussianInterface&) = delete;

    // False when Qt's translations are not installed: Qt's own texts then stay English.
    bool TranslationsLoaded() const { return FLoaded; }

private:
    TQtRussianTranslator FTranslator;
    QLocale FPreviousDefault;
    bool FLoaded = false;
};
