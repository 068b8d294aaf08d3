#include "app/main/RussianInterface.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

QLocale Russian()
{
    return QLocale(QLocale::Russian, QLocale::Russia);
}

// Texts that Qt's Russian translations lack or keep in Latin letters; no context: any.
struct TAmendment {
    const char* context;
    const char* source;
    const char* text;
};
constexpr TAmendment kAmendments[] = {
    {nullptr, "OK", "ОК"},
    {nullptr, "&OK", "&ОК"},
    {"QAbstractFileIconProvider", "Folder", "Папка"},
    {"QAbstractFileIconProvider", "Drive", "Диск"},
    {"QAbstractFileIconProvider", "Shortcut", "Ярлык"},
    {"QAbstractFileIconProvider", "Unknown", "Неизвестный"},
};

bool NamesRussianLocale(const QByteArray& name)
{
    return !name.isEmpty() && QLocale(QString::fromLatin1(name)).language() == QLocale::Russian;
}

} // namespace

QLocale InterfaceLocale(const QLocale& user)
{
    return user.language() == QLocale::Russian ? user : Russian();
}

std::vector<std::pair<QByteArray, QByteArray>> RussianLocaleVariables(const TEnvironmentLookup& environment)
{
    const QByteArray russian = Russian().name().toLatin1() + ".UTF-8";
    const QByteArray all = environment("LC_ALL");
    if (!all.isEmpty())
        return NamesRussianLocale(all) ? std::vector<std::pair<QByteArray, QByteArray>>{}
                                       : std::vector<std::pair<QByteArray, QByteArray>>{{"LC_ALL", russian}};
    const QByteArray lang = environment("LANG");
    std::vector<std::pair<QByteArray, QByteArray>> variables;
    for (const char* category : {"LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LC_MESSAGES", "LC_MEASUREMENT"}) {
        const QByteArray value = environment(category);
        if (!NamesRussianLocale(value.isEmpty() ? lang : value))
            variables.emplace_back(category, russian);
    }
    return variables;
}

void UseRussianSystemLocale()
{
    // The application object sets the C library's locale from the same variables; a Russian
    // locale the system lacks would leave it at "C", so the user's is taken first.
    std::setlocale(LC_ALL, "");
    for (const auto& [name, value] : RussianLocaleVariables([](const char* name) { return qgetenv(name); }))
        qputenv(name.constData(), value);
}

QString TQtRussianTranslator::translate(const char* context, const char* sourceText, const char* disambiguation,
    int n) const
{
    for (const TAmendment& amendment : kAmendments)
        if ((!amendment.context || qstrcmp(context, amendment.context) == 0) && qstrcmp(sourceText, amendment.source) == 0)
            return QString::fromUtf8(amendment.text);
    return QTranslator::translate(context, sourceText, disambiguation, n);
}

TRussianInterface::TRussianInterface(const QLocale& user)
{
    QLocale::setDefault(InterfaceLocale(user));
    // "qt" gathers the translations of every Qt module the program uses.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    FLoaded = FTranslator.load(Russian(), QStringLiteral("qt"), QStringLiteral("_"), folder);
    if (FLoaded)
        QCoreApplication::installTranslator(&FTranslator);
    else
        std::fprintf(stderr, "Переводы Qt на русский язык не найдены в %s: стандартные кнопки и окна Qt "
                             "останутся на английском (пакет qt6-translations-l10n)\n",
            qPrintable(folder));
}

TRussianInterface::~TRussianInterface()
{
    if (FLoaded)
        QCoreApplication::removeTranslator(&FTranslator);
    QLocale::setDefault(FPreviousDefault);
}
