#pragma once
// The dialog that edits a report object's display format: the format word (category, type,
// decimal digits and separator; see ValueFormat.h) and the format text of a custom type. The
// caller sets both, runs the dialog and, after OK, reads both back; Cancel changes nothing.
#include <cstdint>

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TrpRunContext;

class TrpFmtForm : public QDialog {
public:
    // Its texts come from the context's locale.
    explicit TrpFmtForm(const TrpRunContext& context, QWidget* parent = nullptr);

    uint32_t Format = 0;
    QString FormatText;

    QListWidget* CatLB;
    QListWidget* TypeLB;
    QLineEdit* DecEdit;
    QLineEdit* SplEdit;
    QLineEdit* FormatEdit;
    QLabel* DecLabel;
    QLabel* SplLabel;
    QLabel* FormatLabel;
    QPushButton* OK;
    QPushButton* Cancel;

    // Lays the word out in the lists and edits (done each time the dialog shows).
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // OK stores the word (and the custom text); Escape and closing act as Cancel.
    void done(int result) override;
    void reject() override;

private:
    const TrpRunContext& context_;

    void FillTypes(int category);
    void UpdateControls();
    uint32_t EditedFormat() const;
};
