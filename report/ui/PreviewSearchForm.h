#pragma once
// The preview's "Find text" dialog: the text, case sensitivity and where the search starts (the
// first page or the current page). It is made anew for each search, so it opens empty with the
// first page chosen; the preview reads the choices after OK.
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TrpRunContext;

class TrpPreviewSearchForm : public QDialog {
public:
    explicit TrpPreviewSearchForm(const TrpRunContext& context, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QGroupBox* GroupBox1;
    QCheckBox* CB1;
    QGroupBox* GroupBox2;
    QRadioButton* RB1;
    QRadioButton* RB2;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
};
