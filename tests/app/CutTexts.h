#pragma once
// What a shown window cuts of its own texts: labels (a wrapped one by its lines), buttons, check
// and radio boxes and group box titles narrower or lower than their texts in their own fonts,
// and a window narrower than its title in the bold window font and the title bar's buttons.
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>

inline QStringList CutTexts(const QWidget& window)
{
    QStringList cut;
    const auto check = [&cut](const QWidget& widget, const QString& text, QSize needed) {
        if (widget.isVisibleTo(widget.window()) && !text.isEmpty() &&
            (widget.width() < needed.width() || widget.height() < needed.height()))
            cut << QStringLiteral("%1 \"%2\": %3x%4 < %5x%6")
                       .arg(widget.metaObject()->className(), text)
                       .arg(widget.width()).arg(widget.height()).arg(needed.width()).arg(needed.height());
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->wordWrap() && label->width() > 0)
            check(*label, label->text(), {0, label->heightForWidth(label->width())});
        else
            check(*label, label->text(), label->minimumSizeHint());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        check(*button, button->text(), button->minimumSizeHint());
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        check(*box, box->title(), {box->minimumSizeHint().width(), 0});

    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + 100;
    if (window.width() < title)
        cut << QStringLiteral("title \"%1\": %2 < %3").arg(window.windowTitle()).arg(window.width()).arg(title);
    return cut;
}
