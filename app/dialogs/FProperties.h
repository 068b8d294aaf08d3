#pragma once
// The site details "Ввод реквизитов": region, district, town and elevator, printed in the
// reports' headers. Written back to the settings only on "Сохранить".
#include <QDialog>

#include <memory>

class IniFile;
class QLineEdit;
class QPushButton;
class TKeptPlacement;
struct Parameters;

class TfmProperties : public QDialog {
public:
    // placement: the settings file where the dialog keeps its place (may be nullptr).
    TfmProperties(Parameters& settings, IniFile* placement, QWidget* parent = nullptr);
    ~TfmProperties() override;

    QLineEdit* edRegion = nullptr;
    QLineEdit* edArea = nullptr;
    QLineEdit* edCity = nullptr;
    QLineEdit* edElevator = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void done(int result) override;

private:
    void FormCreate();
    void FormClose();

    Parameters& Settings;
    std::unique_ptr<TKeptPlacement> placement_;
};
