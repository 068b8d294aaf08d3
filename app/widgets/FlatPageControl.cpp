#include "app/widgets/FlatPageControl.h"

#include <QHBoxLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

TFlatPageControl::TFlatPageControl(QWidget* parent) : QWidget(parent)
{
    FButtonRow = new QHBoxLayout;
    FButtonRow->setSpacing(2);
    FButtonRow->addStretch();
    FPages = new QStackedWidget;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(FButtonRow);
    layout->addWidget(FPages);
}

int TFlatPageControl::AddPage(QWidget* page, const QString& caption)
{
    const int index = FPages->addWidget(page);
    auto* button = new QToolButton;
    button->setText(caption);
    button->setCheckable(true);
    button->setAutoRaise(true);   // flat
    connect(button, &QToolButton::clicked, this, [this, index] { SetCurrentIndex(index); });
    FButtonRow->insertWidget(FButtonRow->count() - 1, button);
    FButtons.push_back(button);
    ShowButtonsDown();
    return index;
}

int TFlatPageControl::Count() const
{
    return FPages->count();
}

QWidget* TFlatPageControl::Page(int index) const
{
    return FPages->widget(index);
}

QToolButton* TFlatPageControl::PageButton(int index) const
{
    return index >= 0 && index < int(FButtons.size()) ? FButtons[size_t(index)] : nullptr;
}

QString TFlatPageControl::PageCaption(int index) const
{
    QToolButton* button = PageButton(index);
    return button ? button->text() : QString();
}

void TFlatPageControl::SetPageButtonVisible(int index, bool visible)
{
    if (QToolButton* button = PageButton(index))
        button->setVisible(visible);
}

int TFlatPageControl::CurrentIndex() const
{
    return FPages->currentIndex();
}

void TFlatPageControl::SetCurrentIndex(int index)
{
    if (index < 0 || index >= Count())
        return;
    FPages->setCurrentIndex(index);
    ShowButtonsDown();
}

void TFlatPageControl::ShowButtonsDown()
{
    for (size_t i = 0; i < FButtons.size(); ++i)
        FButtons[i]->setChecked(int(i) == CurrentIndex());
}
