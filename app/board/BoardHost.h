#pragma once
// The main window's board: one silo-block frame per configured silo block on the board panel,
// built, cleared, arranged and repainted here, with the layout file read and written for them.
//
// A layout file that exists but could not be read whole is never written over when the board
// is cleared (its frames hold only what was read, or the default tables): the failure is logged
// and the file kept, until the operator saves a layout on purpose.
#include "app/detail/DetailView.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class TBinPanel;
class TfrSiLoBin;
class TMonitor;
class TSilos;

// The parts of the main window the board works with.
struct TBoardWindow {
    QWidget* Window = nullptr;      // receives WM_ARRANGE_SILOBINS; its caption names the layout file
    QWidget* Grid = nullptr;        // spGrid, hidden while the frames are made
    QAction* EditMode = nullptr;    // acEdit
    QMenu* BlockMenu = nullptr;     // "Обмен для одного СК"
};

class TBoardHost : public QObject, public IDetailView {
public:
    // The frames show the context's tree as its settings say; owned by the window.
    TBoardHost(TMonitor& monitor, const TBoardWindow& window, TBinPanel& panel);

    // The frames in board order: frame i shows silo block i + 1.
    const std::vector<TfrSiLoBin*>& SiloBins() const { return siloBins_; }
    int SiloBinCount() const { return static_cast<int>(siloBins_.size()); }
    TfrSiLoBin* GetSiloBin(int index) const;

    // One frame per Settings.SiloBinCount, their layout, the block submenu, then an arrangement.
    void BuildBoard();
    // Writes the layout file (when there are frames and the file may be written), then frees
    // every frame.
    void ClearBoard();
    // Invalidates every frame's table.
    void RepaintBoard();
    // Pushes later frames down below earlier ones until no two overlap or touch.
    void WMArrangeSiloBins();
    // The mouse came over the board: the table that has the focus keeps it; else the table whose
    // suspension the detail and the chart show takes it back (frame 0's before any), so that the
    // operator's place stays where it was when the focus was elsewhere, in a dialog or a tree.
    void BoardMouseEnter();
    // Every frame's edit mode.
    void SetEditMode(bool on);

    // The layout file at Settings.SiloBinsFile, into the frames there are.
    void LoadSiloBinLayout();
    // Writes it; raises Exception when it cannot be written.
    void SaveSiloBinLayout();
    // The window's caption: the product name, " | " and the layout file's path.
    void ShowLayoutFileInCaption();

    // The board's suspensions, frame by frame in board order, row by row, column by column,
    // empty cells skipped (a suspension in two cells comes twice).
    std::vector<TSilos*> Suspensions() const;
    // Only those selected for an exchange of selected suspensions.
    std::vector<TSilos*> SelectedSuspensions() const;
    // Those of one frame.
    std::vector<TSilos*> FrameSuspensions(int index) const;

    // Set by the window: the focused suspension's sensors in the detail list, and its chart.
    std::function<void(const QString& caption, TSilos* silos)> ShowDetail;
    std::function<void(TSilos* silos)> OnSelectSilo;
    // Set by the window: an item of "Обмен для одного СК" was chosen.
    std::function<void(int frameIndex)> ExchangeOneBlock;

    // IDetailView
    void ShowSilosDetail(const QString& caption, TSilos* silos) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillBlockMenu();

    TMonitor& monitor_;
    const TBoardWindow window_;
    TBinPanel& panel_;
    std::vector<TfrSiLoBin*> siloBins_;
    TfrSiLoBin* placeFrame_ = nullptr;   // the frame whose focused cell was shown last
    // The layout file at this path exists but failed to load: clearing the board keeps it.
    QString unreadLayout_;
};
