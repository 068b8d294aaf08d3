#pragma once
// The silo picker: the local blocks and, under each, its suspensions not yet placed in any cell
// of the board. It offers again the suspension after the one chosen last time (the section
// "Tree" of the settings file keeps the choice as "MB" and "TUR").
#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TfrSiLoBin;
class TMonitor;
class TSilos;

class TfmSelectSilos : public QDialog {
public:
    // The suspensions of the context's tree; board: every frame of the board, whose placed
    // suspensions are left out.
    TfmSelectSilos(TMonitor& monitor, const std::vector<TfrSiLoBin*>& board, QWidget* owner = nullptr);

    // The focused suspension; nullptr when nothing or a block is focused.
    TSilos* GetSelectedSilos() const;

    QTreeWidget* vtSilos = nullptr;
    QPushButton* btnOk = nullptr;       // "Выбрать"
    QPushButton* btnCancel = nullptr;   // "Отмена"

    void done(int result) override;

private:
    TMonitor& FMonitor;
    void FormPlacement1RestorePlacement(const std::vector<TfrSiLoBin*>& board);
    void FormPlacement1SavePlacement(bool accepted);
    void vtSilosDblClick();
};
