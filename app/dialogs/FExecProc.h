#pragma once
// The calculation procedure editor: the procedure's text with syntax colouring, OK and Cancel.
// Its size and position are kept in the settings file.
#include <QDialog>

class IniFile;
class QPlainTextEdit;
class QPushButton;
class TPascalHighlighter;

class TfmExecProc : public QDialog {
public:
    TfmExecProc(IniFile& settings, QWidget* parent = nullptr);
    ~TfmExecProc() override;

    QPlainTextEdit* Memo = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    TPascalHighlighter* Highlighter = nullptr;

    // The text with CR LF between lines, as the settings record keeps it.
    void SetProcedure(const QString& text);
    QString Procedure() const;

private:
    IniFile& FSettings;
};
