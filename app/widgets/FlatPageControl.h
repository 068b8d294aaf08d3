#pragma once
// A page control whose page buttons are flat buttons in a row above the pages. A page's button
// may be hidden: such a page shows only when chosen in code, and no button is down meanwhile.
#include <QString>
#include <QWidget>

#include <vector>

class QStackedWidget;
class QToolButton;
class QHBoxLayout;

class TFlatPageControl : public QWidget {
public:
    explicit TFlatPageControl(QWidget* parent = nullptr);

    // Adds a page with its button; returns its index.
    int AddPage(QWidget* page, const QString& caption);
    int Count() const;
    QWidget* Page(int index) const;
    QToolButton* PageButton(int index) const;
    QString PageCaption(int index) const;
    void SetPageButtonVisible(int index, bool visible);

    int CurrentIndex() const;
    // An index outside the pages changes nothing.
    void SetCurrentIndex(int index);

private:
    void ShowButtonsDown();

    QHBoxLayout* FButtonRow = nullptr;
    QStackedWidget* FPages = nullptr;
    std::vector<QToolButton*> FButtons;
};
