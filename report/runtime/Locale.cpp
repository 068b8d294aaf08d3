#include "report/runtime/Locale.h"

#include "report/runtime/ReportStrings.h"

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
