#include "report/runtime/Locale.h"

#include <memory>

#include "report/runtime/ReportStrings.h"

namespace {

std::unique_ptr<TrpLocale>& LocaleHolder()
{
    static std::unique_ptr<TrpLocale> locale;
    return locale;
}

}  // namespace

TrpLocale::TrpLocale() = default;

QString TrpLocale::LoadString(int ident) const
{
    if (OnLocalize) {
        QString text;
        OnLocalize(ident, text);
        if (!text.isEmpty())
            return text;
    }
    return ReportResourceString(ident);
}

QImage TrpLocale::LoadBitmap(const QString& name) const
{
    return QImage(QStringLiteral(":/report/") + name + QStringLiteral(".png"));
}

TrpLocale& GetLocale()
{
    auto& locale = LocaleHolder();
    if (!locale)
        locale = std::make_unique<TrpLocale>();
    return *locale;
}

void FreeLocale()
{
    LocaleHolder().reset();
}
