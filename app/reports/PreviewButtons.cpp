#include "app/reports/PreviewButtons.h"

#include "report/ui/SpeedButton.h"

#include <QAction>
#include <QBoxLayout>
#include <QPainter>
#include <QPointer>

namespace {

constexpr char kBoundAction[] = "boundAction";
constexpr int kButtonSize = 24;

const QColor kKey(255, 0, 255);   // the glyphs' transparent colour (their bottom-left pixel)
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);

void Sheet(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(2, 1, 10, 13);
}

}  // namespace

QImage ReportButtonGlyph(TReportButtonGlyph glyph)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    switch (glyph) {
    case TReportButtonGlyph::ExportRtf: {
        // Rich text: lines of several colours and lengths, the first a heading.
        Sheet(p);
        p.fillRect(4, 3, 7, 2, QColor(0, 0, 160));
        const QColor colours[] = {Qt::red, kInk, QColor(0, 128, 0), kInk};
        for (int i = 0; i < 4; ++i) {
            p.setPen(colours[i]);
            p.drawLine(4, 6 + 2 * i, i % 2 ? 8 : 10, 6 + 2 * i);
        }
        break;
    }
    case TReportButtonGlyph::ExportTxt:
        Sheet(p);
        p.setPen(kInk);
        for (int y = 4; y <= 12; y += 2)
            p.drawLine(4, y, 10, y);
        break;
    case TReportButtonGlyph::PrintColours: {
        const QColor colours[] = {Qt::red, QColor(0, 160, 0), Qt::blue, QColor(230, 200, 0)};
        for (int i = 0; i < 4; ++i) {
            p.setPen(kInk);
            p.setBrush(colours[i]);
            p.drawRect(1 + (i % 2) * 7, 1 + (i / 2) * 7, 6, 6);
        }
        break;
    }
    case TReportButtonGlyph::TwoColumns:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 1, 6, 13);
        p.drawRect(8, 1, 6, 13);
        break;
    }
    return image;
}

TrpTBButton* PreviewButton(const QWidget& strip, const QAction* action)
{
    for (TrpTBButton* button : strip.findChildren<TrpTBButton*>(Qt::FindDirectChildrenOnly))
        if (button->property(kBoundAction).value<QObject*>() == action)
            return button;
    return nullptr;
}

void SetPreviewButton(QWidget& strip, QAction* action, const QImage& glyph, bool show)
{
    TrpTBButton* button = PreviewButton(strip, action);
    if (!show) {
        delete button;
        return;
    }
    if (button)
        return;
    button = new TrpTBButton(&strip);
    button->setObjectName(QStringLiteral("btn") + action->objectName());
    button->setProperty(kBoundAction, QVariant::fromValue<QObject*>(action));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->SetGlyph(glyph);
    button->setToolTip(action->text());
    button->setEnabled(action->isEnabled());
    button->OnClick = [target = QPointer<QAction>(action)](QObject*) {
        if (target)
            target->trigger();
    };
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    // After the strip's own buttons, as a button placed far to their right and aligned left.
    if (auto* row = qobject_cast<QBoxLayout*>(strip.layout()))
        row->addWidget(button);
    button->show();
}
