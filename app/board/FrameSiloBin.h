#pragma once
// A silo block (silo building) on the board: a movable frame captioned with the block's name,
// holding a table of silo cells. Each cell refers to one suspension of the hardware tree by
// its block and suspension positions and shows it as a column of coloured sensor bands. The
// operator names and sizes the block, puts suspensions into cells and takes them out, selects
// them for a poll of selected suspensions, opens their record cards, and drags the frame about
// the board with Shift held. Focusing a cell shows its suspension in the sensor detail list.
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class IDetailView;
class QAction;
class QDomElement;
class QGroupBox;
class QMenu;
class QRubberBand;
class QXmlStreamWriter;
class TBinPanel;
class TMonitor;
class TReadingsQuery;
class TReadingsTable;
class TSiloBinGrid;
class TSilos;

// A cell's suspension: block position in the hardware tree and suspension position in that
// block; (-1, -1) is an empty cell.
struct TSilosInfo {
    int32_t MBIndex = -1;
    int32_t SilosIndex = -1;
    bool operator==(const TSilosInfo&) const = default;
};
using TSilosInfoArr = std::vector<TSilosInfo>;

// Bounds of a block's table: the settings dialog's, also applied to what a layout file holds.
inline constexpr int kMaxGridRows = 255;
inline constexpr int kMaxGridCols = 255;
inline constexpr int kMinColWidth = 50;
inline constexpr int kMaxColWidth = 1024;
inline constexpr int kMinBandHeight = 4;
inline constexpr int kMaxBandHeight = 32;
inline constexpr int kDefaultColWidth = 50;
inline constexpr int kDefaultBandHeight = 8;
// The table shows at most this many columns, however many the block has.
inline constexpr int kShownColumns = 12;

class TfrSiLoBin : public QWidget {
    Q_OBJECT
public:
    // Block number binNo (shown in the default caption "Силкорпус %d"), empty table. The cells
    // name suspensions of the context's hardware tree and show them as its settings say.
    TfrSiLoBin(TMonitor& monitor, uint8_t binNo, IDetailView* detailTree, QWidget* parent = nullptr);
    ~TfrSiLoBin() override;

    TMonitor& Monitor;

    uint8_t BinNo = 0;
    IDetailView* DetailTree = nullptr;   // not owned
    int32_t HeighTD = kDefaultBandHeight;   // one sensor's band, pixels
    std::vector<TSilosInfoArr> Cells;      // one array per row, all of the column count
    std::function<void(TSilos*)> OnSelectSilo;   // told of every change of the focused cell
    bool ArrangeOnResize = false;   // every change of the table's size asks for WM_ARRANGE_SILOBINS
    QPoint DragPoint;               // pointer at the last drag step, board coordinates
    QRect DragRect;                 // the outline being dragged, board coordinates
    TBinPanel* BoardPanel = nullptr;   // found at the first drag step

    int RowCount() const;
    int ColCount() const;
    // The suspension of a cell; nullptr for an empty cell, a cell outside the table, or one
    // whose positions the hardware tree no longer has.
    TSilos* GetSilo(int row, int col) const;
    // Stores the suspension's positions; nullptr, or one not in the tree, empties the cell.
    void SetSilo(int row, int col, TSilos* silos);
    // Resizes the table (each at least 1, at most 255), keeping the cells that still fit, and
    // the frame with it.
    void SetGridSize(int rows, int cols);
    void ClearCells();

    QString GetCaption() const;
    void SetCaption(const QString& caption);
    // Whether the record card lets the operator rename a suspension.
    void SetEditMode(bool on);
    bool EditMode() const { return editMode_; }
    int ColWidth() const;
    void SetColWidth(int width);
    int RowHeight() const;

    // The "silobin" element of the layout file; Left and Top are positions on the board.
    void SaveToXML(QXmlStreamWriter& xml) const;
    // Reads a "silobin" element into the frame; see SiloBinLayout.h for what a failure leaves.
    void LoadFromXML(const QDomElement& element);

    // The readings table: every placed suspension's sensors, cell by cell, row by row (a
    // suspension in two cells goes twice, as the table has always had it).
    void ExportToTable(TReadingsTable& table) const;
    void ImportFromQuery(const TReadingsQuery& query) const;

    // The focused cell (-1 when none) and its suspension.
    int FocusedRow() const;
    int FocusedCol() const;
    void SetFocusedCell(int row, int col);
    TSilos* FocusedSilos() const;

    // The table's events.
    void vtTreeFocusChanged();
    void vtTreeDblClick();
    void PopupMenu(const QPoint& globalPos);

    // The pop-up actions.
    void acParamExecute();
    void acSilosParamExecute();
    void acConnectExecute();
    void acDisconnectExecute();
    void SelectRow(bool selected);
    void SelectCol(bool selected);
    void UpdateActions();

    QGroupBox* gbSilosBin = nullptr;
    TSiloBinGrid* vtTree = nullptr;
    QMenu* pmSilBin = nullptr;
    QAction* acParam = nullptr;
    QAction* acSilosParam = nullptr;
    QAction* acConnect = nullptr;
    QAction* acDisconnect = nullptr;
    QAction* acSelRow = nullptr;
    QAction* acUnSelRow = nullptr;
    QAction* acSelCol = nullptr;
    QAction* acUnSelCol = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void LayOutChildren();
    bool DragPress(const QPoint& boardPos, Qt::KeyboardModifiers modifiers);
    void DragMove(const QPoint& boardPos);
    void DragRelease();
    void ReadSilosElement(const QDomElement& element);

    int colWidth_ = kDefaultColWidth;
    bool editMode_ = false;
    bool dragging_ = false;
    QRubberBand* dragOutline_ = nullptr;
};

// The frames of the board that holds this frame (its siblings and itself), in board order.
std::vector<TfrSiLoBin*> BoardFrames(const TfrSiLoBin& frame);
