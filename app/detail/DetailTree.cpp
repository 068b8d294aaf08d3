#include "app/detail/DetailTree.h"

#include "app/detail/DetailView.h"
#include "app/detail/DetailModel.h"
#include "core/Parameters.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <algorithm>

namespace {

constexpr int kTextMargin = 20;
constexpr int kMinValueWidth = 100;
constexpr int kValueDesignWidth = 43;

// Paints the cells with grid lines and gives every row the tree's fixed height.
class TDetalDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kDetalRowHeight};
    }
};

// The tree as the silo-block frames see it.
class TDetalView : public QObject, public IDetailView {
public:
    explicit TDetalView(QTreeView& tree) : QObject(&tree), FTree(tree) {}
    void ShowSilosDetail(const QString& caption, TSilos* silos) override { ShowSilosInDetail(FTree, caption, silos); }

private:
    QTreeView& FTree;
};

} // namespace

void SetupDetalTree(QTreeView& tree, const Parameters& settings)
{
    auto* model = new TDetalModel(settings, &tree);
    new TDetalView(tree);
    tree.setModel(model);
    tree.setItemDelegate(new TDetalDelegate(&tree));
    tree.setRootIsDecorated(false);
    tree.setUniformRowHeights(true);
    tree.setAllColumnsShowFocus(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(16);
    font.setBold(true);
    tree.setFont(font);
    tree.header()->setFont(QFont(QStringLiteral("Tahoma")));
    tree.header()->setStretchLastSection(false);
    tree.header()->setSectionResizeMode(QHeaderView::Interactive);
    tree.header()->resizeSection(1, kValueDesignWidth);
}

TDetalModel* DetalModelOf(const QTreeView& tree)
{
    return qobject_cast<TDetalModel*>(tree.model());
}

IDetailView* DetalViewOf(const QTreeView& tree)
{
    for (QObject* child : tree.children()) {
        if (auto* view = dynamic_cast<TDetalView*>(child))
            return view;
    }
    return nullptr;
}

void ShowSilosInDetail(QTreeView& tree, const QString& caption, const TSilos* silos)
{
    TDetalModel* model = DetalModelOf(tree);
    if (!model)
        return;
    tree.setUpdatesEnabled(false);
    if (auto* box = qobject_cast<QGroupBox*>(tree.parentWidget()))
        box->setTitle(caption);
    model->ShowSilos(silos, model->SensorsPerSilos);
    tree.setUpdatesEnabled(true);
    FitDetalColumns(tree);
}

void ResetDetalRows(QTreeView& tree, int count)
{
    TDetalModel* model = DetalModelOf(tree);
    if (!model)
        return;
    model->SensorsPerSilos = count;
    model->ShowSilos(nullptr, count);
    FitDetalColumns(tree);
    // The header is part of the control here, so it is added to keep every row in sight.
    tree.setFixedHeight(tree.header()->sizeHint().height() + model->RowCount() * kDetalRowHeight + 4);
}

void RepaintDetal(QTreeView& tree)
{
    if (TDetalModel* model = DetalModelOf(tree)) {
        model->Repaint();
        FitDetalColumns(tree);
    }
}

void FitDetalColumns(QTreeView& tree)
{
    const TDetalModel* model = DetalModelOf(tree);
    if (!model)
        return;
    const QFontMetrics metrics(tree.font());
    for (int column = 0; column < TDetalModel::kColumnCount; ++column) {
        int wanted = column == 1 ? kMinValueWidth : 0;
        for (int row = 0; row < model->RowCount(); ++row)
            wanted = std::max(wanted, metrics.horizontalAdvance(model->CellText(row, column)) + kTextMargin);
        if (tree.header()->sectionSize(column) < wanted)
            tree.header()->resizeSection(column, wanted);
    }
}
