#include "app/dialogs/FSelectSilos.h"

#include "app/board/FrameSiloBin.h"
#include "app/settings/FormPlacement.h"
#include "app/settings/SettingsFileName.h"
#include "app/widgets/DialogButtons.h"
#include "core/Monitor.h"
#include "platform/posix/IniFile.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

namespace {

constexpr const char* kPlacement = "TfmSelectSilos";
constexpr const char* kTreeSection = "Tree";
// A node's suspension or block.
constexpr int kSilosRole = Qt::UserRole;
constexpr int kMBRole = Qt::UserRole + 1;

TSilos* NodeSilos(const QTreeWidgetItem* item)
{
    return item ? static_cast<TSilos*>(item->data(0, kSilosRole).value<void*>()) : nullptr;
}

TMB* NodeMB(const QTreeWidgetItem* item)
{
    return item ? static_cast<TMB*>(item->data(0, kMBRole).value<void*>()) : nullptr;
}

} // namespace

TfmSelectSilos::TfmSelectSilos(TMonitor& monitor, const std::vector<TfrSiLoBin*>& board, QWidget* owner)
    : QDialog(owner), FMonitor(monitor)
{
    setObjectName(QStringLiteral("TfmSelectSilos"));
    setWindowTitle(QStringLiteral("Выбор силоса"));
    resize(260, 420);

    vtSilos = new QTreeWidget;
    vtSilos->setObjectName(QStringLiteral("vtSilos"));
    vtSilos->setColumnCount(1);
    vtSilos->setHeaderHidden(true);
    connect(vtSilos, &QTreeWidget::itemDoubleClicked, this, [this] { vtSilosDblClick(); });

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Выбрать"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vtSilos, 1);
    layout->addWidget(buttons.Box);
    FormPlacement1RestorePlacement(board);
}

TSilos* TfmSelectSilos::GetSelectedSilos() const
{
    return NodeSilos(vtSilos->currentItem());
}

void TfmSelectSilos::FormPlacement1RestorePlacement(const std::vector<TfrSiLoBin*>& board)
{
    const IniFile ini(SettingsFileName());
    RestoreFormPlacement(ini, *this, kPlacement);
    const int mbAddr = ini.ReadInteger(kTreeSection, "MB", -1);
    const int turNo = ini.ReadInteger(kTreeSection, "TUR", -1);

    std::set<const TSilos*> placed;
    for (const TfrSiLoBin* frame : board)
        for (int row = 0; row < frame->RowCount(); ++row)
            for (int col = 0; col < frame->ColCount(); ++col)
                if (const TSilos* silos = frame->GetSilo(row, col))
                    placed.insert(silos);

    vtSilos->setUpdatesEnabled(false);
    vtSilos->clear();
    QTreeWidgetItem* focused = nullptr;
    const std::unique_ptr<THardConfig>& tree = FMonitor.HardConfig;
    for (int i = 0; tree && i < tree->MBCount(); ++i) {
        TMB* mb = tree->GetMB(i);
        auto* blockNode = new QTreeWidgetItem(vtSilos, {QStringLiteral("МБ %1").arg(mb->Addr() + 1)});
        blockNode->setData(0, kMBRole, QVariant::fromValue(static_cast<void*>(mb)));
        if (mb->Addr() == mbAddr)
            focused = blockNode;
        for (int j = 0; j < tree->SilosPerMB(); ++j) {
            TSilos* silos = mb->GetSilos(j);
            if (!silos || placed.count(silos))
                continue;
            auto* silosNode = new QTreeWidgetItem(blockNode, {silos->GetName()});
            silosNode->setData(0, kSilosRole, QVariant::fromValue(static_cast<void*>(silos)));
            silosNode->setData(0, kMBRole, QVariant::fromValue(static_cast<void*>(mb)));
            if (mb->Addr() == mbAddr && silos->No() == turNo)
                focused = silosNode;
        }
    }
    vtSilos->setUpdatesEnabled(true);
    if (focused) {
        vtSilos->setCurrentItem(focused);
        focused->setSelected(true);
        focused->setExpanded(true);
        vtSilos->scrollToItem(focused, QAbstractItemView::PositionAtCenter);
    }
}

// The next opening offers the suspension after the one chosen now.
void TfmSelectSilos::FormPlacement1SavePlacement(bool accepted)
{
    IniFile ini(SettingsFileName());
    ini.BeginUpdate();
    SaveFormPlacement(ini, *this, kPlacement);
    const QTreeWidgetItem* node = vtSilos->currentItem();
    int mbAddr = -1, turNo = -1;
    if (const TMB* mb = NodeMB(node))
        mbAddr = mb->Addr();
    if (NodeSilos(node)) {
        const QTreeWidgetItem* remembered = node;
        if (accepted && node->parent()) {
            const int index = node->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(node));
            if (const QTreeWidgetItem* next = node->parent()->child(index + 1))
                remembered = next;
        }
        turNo = NodeSilos(remembered)->No();
    }
    ini.WriteInteger(kTreeSection, "MB", mbAddr);
    ini.WriteInteger(kTreeSection, "TUR", turNo);
    ini.EndUpdate();
}

void TfmSelectSilos::vtSilosDblClick()
{
    accept();
}

// "Выбрать" (and a double click) close only with a suspension focused; "Отмена" always.
void TfmSelectSilos::done(int result)
{
    if (result == QDialog::Accepted && !GetSelectedSilos())
        return;
    try {
        FormPlacement1SavePlacement(result == QDialog::Accepted);
    } catch (const std::exception& error) {
        // The choice is only a convenience for the next opening; the dialog still closes.
        FMonitor.Log.Post(QString::fromUtf8(error.what()), kLogError);
    }
    QDialog::done(result);
}
