#include "app/board/FrameSiloBin.h"

#include "app/detail/DetailView.h"
#include "app/dialogs/FSelectSilos.h"
#include "app/dialogs/FSiloBinParam.h"
#include "app/dialogs/FSilosParam.h"
#include "app/board/LayoutText.h"
#include "app/main/ModalRunner.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/SiloCellGeometry.h"
#include "app/board/SilosParams.h"
#include "app/board/BinPanel.h"
#include "base/Exception.h"
#include "core/Monitor.h"
#include "core/Device/Silos.h"
#include "core/WindowMessages.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDomElement>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>
#include <QSpinBox>
#include <QXmlStreamWriter>

#include <algorithm>
#include <memory>

namespace {

// The frame's margins around its table: the group box's border and caption.
constexpr int kTableLeft = 4;
constexpr int kTableTop = 16;
constexpr int kExtraWidth = 8;
constexpr int kExtraHeight = 20;
// Where a frame goes when its layout element gives no position.
constexpr int kDefaultLeft = 10;
constexpr int kDefaultTop = 0;
// A position further out than this in a layout file is brought back onto the board.
constexpr int kMaxBoardPosition = 100000;

QString DefaultCaption(int binNo)
{
    return QStringLiteral("Силкорпус %1").arg(binNo);
}

// An attribute that must be there.
QString Required(const QDomElement& element, const char* name)
{
    const QString key = QString::fromLatin1(name);
    if (!element.hasAttribute(key))
        throw EConvertError(QStringLiteral("Элемент \"%1\" без атрибута \"%2\"").arg(element.tagName(), key).toStdString());
    return element.attribute(key);
}

// An integer attribute with a default for its absence, kept within bounds.
int BoundedInteger(const QDomElement& element, const char* name, int absent, int low, int high)
{
    const QString key = QString::fromLatin1(name);
    if (!element.hasAttribute(key))
        return absent;
    return std::clamp(ParseLayoutInteger(element.attribute(key)), low, high);
}

// An attribute read as an unsigned 16-bit number (what a negative text wraps to included).
int Word(const QString& text)
{
    return ParseLayoutInteger(text) & 0xFFFF;
}

} // namespace

TfrSiLoBin::TfrSiLoBin(TMonitor& monitor, uint8_t binNo, IDetailView* detailTree, QWidget* parent)
    : QWidget(parent), Monitor(monitor), BinNo(binNo), DetailTree(detailTree)
{
    setObjectName(QStringLiteral("frSiLoBin%1").arg(binNo));
    gbSilosBin = new QGroupBox(DefaultCaption(binNo), this);
    gbSilosBin->setObjectName(QStringLiteral("gbSilosBin"));
    QFont captionFont(QStringLiteral("Tahoma"));
    captionFont.setStyleHint(QFont::SansSerif);
    captionFont.setPixelSize(11);
    gbSilosBin->setFont(captionFont);
    gbSilosBin->installEventFilter(this);
    vtTree = new TSiloBinGrid(*this, gbSilosBin);
    CreateActions();
    LayOutChildren();
}

TfrSiLoBin::~TfrSiLoBin()
{
    if (dragging_)
        QApplication::restoreOverrideCursor();
    ClearCells();
    Cells.clear();
}

void TfrSiLoBin::CreateActions()
{
    const auto make = [this](const char* name, const char* caption, void (TfrSiLoBin::*work)()) {
        auto* action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, work] { (this->*work)(); });
        return action;
    };
    acParam = make("acParam", "Парамеры силкорпуса", &TfrSiLoBin::acParamExecute);
    acSilosParam = make("acSilosParam", "Параметры силоса", &TfrSiLoBin::acSilosParamExecute);
    acConnect = make("acConnect", "Добавить силос", &TfrSiLoBin::acConnectExecute);
    acDisconnect = make("acDisconnect", "Удалить силос", &TfrSiLoBin::acDisconnectExecute);
    const auto select = [this](const char* name, const char* caption, std::function<void()> work) {
        auto* action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, std::move(work));
        return action;
    };
    acSelRow = select("acSelRow", "Выбрать силосы в строке", [this] { SelectRow(true); });
    acUnSelRow = select("acUnSelRow", "Снять выбор с силосов в строке", [this] { SelectRow(false); });
    acSelCol = select("acSelCol", "Выбрать силосы в колонке", [this] { SelectCol(true); });
    acUnSelCol = select("acUnSelCol", "Снять выбор с силосов в колонке", [this] { SelectCol(false); });

    pmSilBin = new QMenu(this);
    pmSilBin->setObjectName(QStringLiteral("pmSilBin"));
    pmSilBin->addActions({acParam, acSilosParam, acConnect, acDisconnect});
    QMenu* choice = pmSilBin->addMenu(QStringLiteral("Выбор"));
    choice->addActions({acSelRow, acUnSelRow, acSelCol, acUnSelCol});
    connect(pmSilBin, &QMenu::aboutToShow, this, &TfrSiLoBin::UpdateActions);
}

void TfrSiLoBin::UpdateActions()
{
    const bool rowFocused = FocusedRow() >= 0;
    const bool silosFocused = FocusedSilos() != nullptr;
    acParam->setEnabled(true);
    acSilosParam->setEnabled(silosFocused);
    acConnect->setEnabled(rowFocused);
    acDisconnect->setEnabled(silosFocused);
    for (QAction* action : {acSelRow, acUnSelRow, acSelCol, acUnSelCol})
        action->setEnabled(rowFocused);
}

void TfrSiLoBin::PopupMenu(const QPoint& globalPos)
{
    UpdateActions();
    pmSilBin->popup(globalPos);
}

int TfrSiLoBin::RowCount() const
{
    return static_cast<int>(Cells.size());
}

int TfrSiLoBin::ColCount() const
{
    return Cells.empty() ? 0 : static_cast<int>(Cells.front().size());
}

TSilos* TfrSiLoBin::GetSilo(int row, int col) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount() || !Monitor.HardConfig)
        return nullptr;
    const TSilosInfo& info = Cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
    if (info.MBIndex < 0 || info.SilosIndex < 0)
        return nullptr;
    const TMB* mb = Monitor.HardConfig->GetMB(info.MBIndex);
    return mb ? mb->GetSilos(info.SilosIndex) : nullptr;
}

void TfrSiLoBin::SetSilo(int row, int col, TSilos* silos)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        return;
    TSilosInfo info;
    if (silos && Monitor.HardConfig) {
        for (int i = 0; i < Monitor.HardConfig->MBCount(); ++i) {
            const TMB* mb = Monitor.HardConfig->GetMB(i);
            if (mb == silos->Owner()) {
                info.MBIndex = i;
                for (int j = 0; j < mb->SilosCount(); ++j)
                    if (mb->GetSilos(j) == silos)
                        info.SilosIndex = j;
                break;
            }
        }
        if (info.SilosIndex < 0)
            info = TSilosInfo{};
    }
    Cells[static_cast<size_t>(row)][static_cast<size_t>(col)] = info;
    vtTree->RepaintRow(row);
}

void TfrSiLoBin::ClearCells()
{
    for (TSilosInfoArr& row : Cells)
        std::fill(row.begin(), row.end(), TSilosInfo{});
    if (vtTree)
        vtTree->update();
}

void TfrSiLoBin::SetGridSize(int rows, int cols)
{
    const std::vector<TSilosInfoArr> old = Cells;
    rows = std::clamp(rows, 1, kMaxGridRows);
    cols = std::clamp(cols, 1, kMaxGridCols);
    Cells.assign(static_cast<size_t>(rows), TSilosInfoArr(static_cast<size_t>(cols)));
    for (size_t i = 0; i < Cells.size() && i < old.size(); ++i)
        for (size_t j = 0; j < Cells[i].size() && j < old[i].size(); ++j)
            Cells[i][j] = old[i][j];

    const int rowHeight = SiloRowHeight(Monitor.HardConfig ? Monitor.HardConfig->TITPerSilos() : 0, HeighTD);
    vtTree->SetShape(rows, rowHeight, colWidth_, std::min(cols, kShownColumns));
    resize(colWidth_ * cols + kExtraWidth, rowHeight * rows + kExtraHeight);
    LayOutChildren();
    vtTree->update();
    if (ArrangeOnResize)
        if (QWidget* mainWindow = window(); mainWindow && mainWindow != this)
            QCoreApplication::postEvent(mainWindow, new QEvent(WM_ARRANGE_SILOBINS));
}

QString TfrSiLoBin::GetCaption() const
{
    return gbSilosBin->title();
}

void TfrSiLoBin::SetCaption(const QString& caption)
{
    gbSilosBin->setTitle(caption);
}

void TfrSiLoBin::SetEditMode(bool on)
{
    editMode_ = on;
}

int TfrSiLoBin::ColWidth() const
{
    return colWidth_;
}

void TfrSiLoBin::SetColWidth(int width)
{
    colWidth_ = std::max(width, 1);
    vtTree->SetShape(vtTree->Rows(), vtTree->RowHeight(), colWidth_, vtTree->VisibleCols());
}

int TfrSiLoBin::RowHeight() const
{
    return vtTree->RowHeight();
}

void TfrSiLoBin::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutChildren();
}

void TfrSiLoBin::LayOutChildren()
{
    gbSilosBin->setGeometry(rect());
    vtTree->setGeometry(kTableLeft, kTableTop, std::max(width() - kExtraWidth, 0),
        std::max(height() - kExtraHeight, 0));
}

int TfrSiLoBin::FocusedRow() const
{
    return vtTree->FocusedRow();
}

int TfrSiLoBin::FocusedCol() const
{
    return vtTree->FocusedCol();
}

void TfrSiLoBin::SetFocusedCell(int row, int col)
{
    vtTree->SetFocusedCell(row, col);
}

TSilos* TfrSiLoBin::FocusedSilos() const
{
    return FocusedRow() >= 0 ? GetSilo(FocusedRow(), FocusedCol()) : nullptr;
}

void TfrSiLoBin::vtTreeFocusChanged()
{
    TSilos* silos = FocusedSilos();
    if (DetailTree) {
        QString caption = GetCaption();
        if (silos)
            caption += QStringLiteral(" силос ") + silos->GetName();
        DetailTree->ShowSilosDetail(caption, silos);
    }
    if (OnSelectSilo)
        OnSelectSilo(silos);
}

void TfrSiLoBin::vtTreeDblClick()
{
    if (TSilos* silos = FocusedSilos()) {
        silos->Selected = !silos->Selected;
        vtTree->RepaintRow(FocusedRow());
    }
}

void TfrSiLoBin::acParamExecute()
{
    TfmSiloBinParam dialog(this);
    dialog.edBinNo->setValue(BinNo);
    dialog.edName->setText(GetCaption());
    dialog.edRow->setValue(RowCount());
    dialog.edCol->setValue(ColCount());
    dialog.edColWidth->setValue(ColWidth());
    dialog.edHeigthTD->setValue(HeighTD);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    BinNo = static_cast<uint8_t>(dialog.edBinNo->value());
    HeighTD = dialog.edHeigthTD->value();
    SetColWidth(dialog.edColWidth->value());
    SetCaption(dialog.edName->text());
    SetGridSize(dialog.edRow->value(), dialog.edCol->value());
}

void TfrSiLoBin::acSilosParamExecute()
{
    TSilos* silos = FocusedSilos();
    if (!silos)
        return;
    auto card = std::make_unique<TfmSilosParam>(silos, BinNo, this);
    card->edSilosName->setEnabled(EditMode());
    ExecModal(*card);
    vtTree->RepaintRow(FocusedRow());
}

void TfrSiLoBin::acConnectExecute()
{
    if (FocusedRow() < 0)
        return;
    TfmSelectSilos picker(Monitor, BoardFrames(*this), this);
    if (ExecModal(picker) != QDialog::Accepted)
        return;
    SetSilo(FocusedRow(), FocusedCol(), picker.GetSelectedSilos());
    vtTreeFocusChanged();
}

void TfrSiLoBin::acDisconnectExecute()
{
    TSilos* silos = FocusedSilos();
    if (!silos)
        return;
    silos->SetSilosName(QString());
    Cells[static_cast<size_t>(FocusedRow())][static_cast<size_t>(FocusedCol())] = TSilosInfo{};
    vtTree->RepaintRow(FocusedRow());
    vtTreeFocusChanged();
}

void TfrSiLoBin::SelectRow(bool selected)
{
    const int row = FocusedRow();
    if (row < 0)
        return;
    for (int col = 0; col < ColCount(); ++col)
        if (TSilos* silos = GetSilo(row, col))
            silos->Selected = selected;
    vtTree->RepaintRow(row);
}

void TfrSiLoBin::SelectCol(bool selected)
{
    if (FocusedRow() < 0)
        return;
    const int col = FocusedCol();
    for (int row = 0; row < RowCount(); ++row)
        if (TSilos* silos = GetSilo(row, col))
            silos->Selected = selected;
    vtTree->update();
}

void TfrSiLoBin::SaveToXML(QXmlStreamWriter& xml) const
{
    xml.writeStartElement(QStringLiteral("silobin"));
    xml.writeAttribute(QStringLiteral("No"), QString::number(BinNo));
    xml.writeAttribute(QStringLiteral("binname"), GetCaption());
    xml.writeAttribute(QStringLiteral("Row"), QString::number(RowCount()));
    xml.writeAttribute(QStringLiteral("Col"), QString::number(ColCount()));
    xml.writeAttribute(QStringLiteral("Left"), QString::number(x()));
    xml.writeAttribute(QStringLiteral("Top"), QString::number(y()));
    xml.writeAttribute(QStringLiteral("HeighTD"), QString::number(HeighTD));
    xml.writeAttribute(QStringLiteral("BinColW"), QString::number(ColWidth()));
    for (int row = 0; row < RowCount(); ++row)
        for (int col = 0; col < ColCount(); ++col)
            if (const TSilos* silos = GetSilo(row, col)) {
                xml.writeStartElement(QStringLiteral("silos"));
                xml.writeAttribute(QStringLiteral("Row"), QString::number(row));
                xml.writeAttribute(QStringLiteral("Col"), QString::number(col));
                SaveParams(*silos, xml);
                xml.writeEndElement();
            }
    xml.writeEndElement();
}

void TfrSiLoBin::ExportToTable(TReadingsTable& table) const
{
    for (int row = 0; row < RowCount(); ++row)
        for (int col = 0; col < ColCount(); ++col)
            if (const TSilos* silos = GetSilo(row, col))
                silos->SaveToTable(table);
}

void TfrSiLoBin::ImportFromQuery(const TReadingsQuery& query) const
{
    for (int row = 0; row < RowCount(); ++row)
        for (int col = 0; col < ColCount(); ++col)
            if (TSilos* silos = GetSilo(row, col))
                silos->LoadFromQuery(query, Monitor.Settings.AveragePeriod);
}

void TfrSiLoBin::LoadFromXML(const QDomElement& element)
{
    if (const auto number = TryParseLayoutInteger(Required(element, "No")); number && *number >= 0)
        BinNo = static_cast<uint8_t>(*number & 0xFF);
    SetCaption(element.hasAttribute(QStringLiteral("binname")) ? element.attribute(QStringLiteral("binname"))
                                                               : DefaultCaption(BinNo));
    move(BoundedInteger(element, "Left", kDefaultLeft, 0, kMaxBoardPosition),
        BoundedInteger(element, "Top", kDefaultTop, 0, kMaxBoardPosition));
    HeighTD = BoundedInteger(element, "HeighTD", kDefaultBandHeight, kMinBandHeight, kMaxBandHeight);
    const QString colWidth = QStringLiteral("BinColW");
    SetColWidth(element.hasAttribute(colWidth)
            ? std::clamp(Word(element.attribute(colWidth)), kMinColWidth, kMaxColWidth)
            : kDefaultColWidth);
    const QString rowKey = QStringLiteral("Row"), colKey = QStringLiteral("Col");
    const int rows = element.hasAttribute(rowKey) ? Word(element.attribute(rowKey)) : 1;
    const int cols = element.hasAttribute(colKey) ? Word(element.attribute(colKey)) : 1;
    SetGridSize(rows, cols);
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        ReadSilosElement(child);
}

void TfrSiLoBin::ReadSilosElement(const QDomElement& element)
{
    if (!Monitor.HardConfig)
        return;
    const int mbIndex = Monitor.HardConfig->IndexOfMB(ParseLayoutInteger(Required(element, "Addr")));
    if (mbIndex < 0)
        return;
    const TMB* mb = Monitor.HardConfig->GetMB(mbIndex);
    const int silosIndex = mb->IndexOfSilos(ParseLayoutInteger(Required(element, "No")));
    if (silosIndex < 0)
        return;
    const int row = Word(Required(element, "Row"));
    const int col = Word(Required(element, "Col"));
    if (row >= RowCount() || col >= ColCount())
        return;
    Cells[static_cast<size_t>(row)][static_cast<size_t>(col)] = TSilosInfo{mbIndex, silosIndex};
    LoadParams(*mb->GetSilos(silosIndex), element);
}

// Dragging: Shift and a press on the frame's border or caption start it; the outline follows
// the pointer over the board, and the frame moves there when the button is released.
bool TfrSiLoBin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != gbSilosBin)
        return QWidget::eventFilter(watched, event);
    QWidget* board = parentWidget();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (board && mouse->button() == Qt::LeftButton)
            return DragPress(gbSilosBin->mapTo(board, mouse->position().toPoint()), mouse->modifiers());
        break;
    }
    case QEvent::MouseMove:
        if (dragging_ && board)
            DragMove(gbSilosBin->mapTo(board, static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    case QEvent::MouseButtonRelease:
        DragRelease();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrSiLoBin::DragPress(const QPoint& boardPos, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ShiftModifier))
        return false;
    dragging_ = true;
    DragPoint = boardPos;
    DragRect = geometry();
    QApplication::setOverrideCursor(Qt::DragMoveCursor);
    return true;
}

void TfrSiLoBin::DragMove(const QPoint& boardPos)
{
    if (!BoardPanel)
        BoardPanel = qobject_cast<TBinPanel*>(parentWidget());
    if (!dragOutline_) {
        dragOutline_ = new QRubberBand(QRubberBand::Rectangle, parentWidget());
        dragOutline_->setObjectName(QStringLiteral("DragOutline"));
    }
    DragRect.translate(boardPos - DragPoint);
    DragPoint = boardPos;
    dragOutline_->setGeometry(DragRect);
    dragOutline_->show();
    dragOutline_->raise();
}

void TfrSiLoBin::DragRelease()
{
    if (dragOutline_)
        dragOutline_->hide();
    if (dragging_) {
        move(DragRect.topLeft());
        QApplication::restoreOverrideCursor();
    }
    dragging_ = false;
    DragPoint = QPoint();
}

std::vector<TfrSiLoBin*> BoardFrames(const TfrSiLoBin& frame)
{
    std::vector<TfrSiLoBin*> frames;
    if (QWidget* board = frame.parentWidget()) {
        for (QObject* child : board->children())
            if (auto* sibling = qobject_cast<TfrSiLoBin*>(child))
                frames.push_back(sibling);
    } else {
        frames.push_back(const_cast<TfrSiLoBin*>(&frame));
    }
    return frames;
}
