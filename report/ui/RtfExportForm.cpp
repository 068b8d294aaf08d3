#include "report/ui/RtfExportForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "report/export/RtfAdvExport.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/FormRoutines.h"

namespace {

constexpr int kMaxScalePercent = 10000;

QLineEdit* Edit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

// The label of a field; the field takes its text as its name, by which its errors call it.
QLabel* Label(const TrpRunContext& context, QWidget* parent, int textId, QWidget* buddy)
{
    auto* label = new QLabel(LoadFrResString(context, textId), parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')).trimmed());
    return label;
}

EConvertError FieldError(const QLineEdit* edit)
{
    return ConvertError(
        QStringLiteral("Неверное значение в поле «%1»: \"%2\"").arg(edit->accessibleName(), edit->text()));
}

double ScaleOf(const QLineEdit* edit)
{
    bool ok = false;
    const int percent = edit->text().trimmed().toInt(&ok);
    if (!ok || percent <= 0 || percent > kMaxScalePercent)
        throw FieldError(edit);
    return percent / 100.0;
}

double MarginOf(const QLineEdit* edit)
{
    double value = 0;
    if (!TryStrToFloatAnySep(edit->text(), value))
        throw FieldError(edit);
    return value;
}

} // namespace

TrpRtfExpSet::TrpRtfExpSet(const TrpRtfAdvExport& filter, QWidget* parent) : QDialog(parent)
{
    const TrpRunContext& context = filter.Context();
    setObjectName(QStringLiteral("rpRtfExpSet"));
    setWindowTitle(LoadFrResString(context, 54871));

    PageSettings = new QGroupBox(LoadFrResString(context, 54845), this);
    E_TMargin = Edit(PageSettings, "E_TMargin");
    E_LMargin = Edit(PageSettings, "E_LMargin");
    E_ScaleX = Edit(PageSettings, "E_ScaleX");
    E_ScaleY = Edit(PageSettings, "E_ScaleY");
    for (QLineEdit* scale : {E_ScaleX, E_ScaleY})
        scale->setValidator(new QIntValidator(1, kMaxScalePercent, scale));
    auto* pageGrid = new QGridLayout(PageSettings);
    pageGrid->addWidget(Label(context, PageSettings, 54846, E_TMargin), 0, 0);
    pageGrid->addWidget(E_TMargin, 0, 1);
    pageGrid->addWidget(Label(context, PageSettings, 54847, E_LMargin), 1, 0);
    pageGrid->addWidget(E_LMargin, 1, 1);
    pageGrid->addWidget(Label(context, PageSettings, 54848, E_ScaleX), 0, 2);
    pageGrid->addWidget(E_ScaleX, 0, 3);
    pageGrid->addWidget(Label(context, PageSettings, 54849, E_ScaleY), 1, 2);
    pageGrid->addWidget(E_ScaleY, 1, 3);

    PageRangeBox = new QGroupBox(LoadFrResString(context, 53044), this);
    E_Range = Edit(PageRangeBox, "E_Range");
    E_Range->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ,-]*")), E_Range));
    Descr = new QLabel(LoadFrResString(context, 53048), PageRangeBox);
    Descr->setObjectName(QStringLiteral("Descr"));
    Descr->setWordWrap(true);
    auto* rangeGrid = new QGridLayout(PageRangeBox);
    rangeGrid->addWidget(Label(context, PageRangeBox, 53047, E_Range), 0, 0);
    rangeGrid->addWidget(E_Range, 0, 1);
    rangeGrid->addWidget(Descr, 1, 0, 1, 2);

    QualityBox = new QGroupBox(LoadFrResString(context, 54850), this);
    CB_PageBreaks = new QCheckBox(LoadFrResString(context, 54860), QualityBox);
    CB_PageBreaks->setObjectName(QStringLiteral("CB_PageBreaks"));
    CB_Pictures = new QCheckBox(LoadFrResString(context, 54863), QualityBox);
    CB_Pictures->setObjectName(QStringLiteral("CB_Pictures"));
    auto* quality = new QVBoxLayout(QualityBox);
    quality->addWidget(CB_PageBreaks);
    quality->addWidget(CB_Pictures);

    QHBoxLayout* buttons = MakeOkCancel(*this, context, OK, Cancel);

    auto* grid = new QGridLayout(this);
    grid->addWidget(PageSettings, 0, 0);
    grid->addWidget(QualityBox, 0, 1);
    grid->addWidget(PageRangeBox, 1, 0, 1, 2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    resize(483, 194);
    // The page range hint wraps: the height follows from the width, so that no line is cut.
    if (const int needed = heightForWidth(width()); needed > height())
        resize(width(), needed);

    Load(filter);
    OK->setFocus();
}

void TrpRtfExpSet::Load(const TrpRtfAdvExport& filter)
{
    E_ScaleX->setText(QString::number(int(filter.ScaleX * 100)));
    E_ScaleY->setText(QString::number(int(filter.ScaleY * 100)));
    E_TMargin->setText(QString::number(filter.TopMargin, 'g', QLocale::FloatingPointShortest));
    E_LMargin->setText(QString::number(filter.LeftMargin, 'g', QLocale::FloatingPointShortest));
    E_Range->clear();
    CB_PageBreaks->setChecked(filter.PageBreaks);
    CB_Pictures->setChecked(filter.ExportPictures);
}

void TrpRtfExpSet::Store(TrpRtfAdvExport& filter) const
{
    filter.PageRange = E_Range->text();
    filter.PageBreaks = CB_PageBreaks->isChecked();
    filter.ExportPictures = CB_Pictures->isChecked();
    filter.ScaleX = ScaleOf(E_ScaleX);
    filter.ScaleY = ScaleOf(E_ScaleY);
    filter.TopMargin = MarginOf(E_TMargin);
    filter.LeftMargin = MarginOf(E_LMargin);
}

void TrpRtfExpSet::reject()
{
    done(mrCancel);
}

int ShowRtfExportOptions(TrpRtfAdvExport& filter)
{
    TrpRtfExpSet form(filter, QApplication::activeWindow());
    const int result = form.exec();
    if (result == mrOk) {
        form.Store(filter);
    } else {
        // Cancel keeps what reads; a field that does not read needs no message, nothing runs.
        try {
            form.Store(filter);
        } catch (const EConvertError&) {
        }
    }
    return result;
}
