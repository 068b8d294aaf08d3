#include "report/ui/FontComboBox.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "platform/qt/KeyValueStore.h"

namespace {

constexpr int kTypeRole = Qt::UserRole;
constexpr int kNoMarkWidth = 15;

QString Numbered(const char* name, int n)
{
    return QString::fromLatin1(name) + QString::number(n);
}

int FamilyType(const QString& family)
{
    return QFontDatabase::isSmoothlyScalable(family) ? kTrueTypeFontType : kRasterFontType;
}

// An item of the font list: the mark of a scalable font, the name, and the line that parts
// the recently used fonts from the rest.
class TFontItemDelegate : public QStyledItemDelegate {
public:
    TFontItemDelegate(TrpFontComboBox* combo, const QImage& mark) : QStyledItemDelegate(combo), combo_(combo), mark_(mark) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), combo_->ItemHeight()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& colours = option.palette;
        const QRect r = option.rect;
        painter->fillRect(r, colours.color(selected ? QPalette::Highlight : QPalette::Base));
        if (index.data(kTypeRole).toInt() & kTrueTypeFontType)
            painter->drawImage(r.left() + 1, r.top() + (r.height() - mark_.height()) / 2, mark_);
        const int textLeft = r.left() + (mark_.isNull() ? kNoMarkWidth : mark_.width()) + 2;
        painter->setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRect(textLeft, r.top(), r.right() - textLeft, r.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
        const int recent = combo_->RecentCount();
        painter->setPen(colours.color(QPalette::Dark));
        if (recent > 0 && index.row() == recent - 1)
            painter->drawLine(r.left(), r.bottom() - 1, r.right(), r.bottom() - 1);
        if (recent > 0 && index.row() == recent)
            painter->drawLine(r.left(), r.top(), r.right(), r.top());
    }

private:
    TrpFontComboBox* combo_;
    QImage mark_;
};

} // namespace

QImage TrueTypeMark()
{
    // Two overlapping letters T, grey behind black, drawn with lines so that no font is needed.
    QImage mark(12, 12, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    const auto letter = [&painter](int x, int y, const QColor& colour) {
        painter.fillRect(x, y, 7, 2, colour);
        painter.fillRect(x + 2, y, 3, 8, colour);
    };
    letter(0, 0, QColor(0x80, 0x80, 0x80));
    letter(4, 4, Qt::black);
    return mark;
}

TrpFontPreview::TrpFontPreview(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("rpFontPreview"));
    resize(200, 50);
    panel_ = new QLabel(this);
    panel_->setObjectName(QStringLiteral("Panel"));
    panel_->setAlignment(Qt::AlignCenter);
    panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel_->setAutoFillBackground(true);
    panel_->setBackgroundRole(QPalette::Base);
    panel_->setForegroundRole(QPalette::Text);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
}

void TrpFontPreview::SetFontName(const QString& name)
{
    QFont font(name);
    font.setPointSize(18);
    panel_->setFont(font);
    panel_->setText(name);
}

TrpFontComboBox::TrpFontComboBox(QWidget* parent, KeyValueStore* store)
    : TrpCustomComboBox(parent), FStore(store), FTrueTypeMark(TrueTypeMark())
{
    setObjectName(QStringLiteral("rpFontComboBox"));
    setItemDelegate(new TFontItemDelegate(this, FTrueTypeMark));
    SetReadOnly(true);
    resize(150, height());
    setMaxVisibleItems(12);
    SetImageIndent(16);
    FPreview = new TrpFontPreview(this);
    FPreview->hide();
    connect(this, &QComboBox::activated, this, [this](int index) { CloseUp(index); });
    connect(this, &QComboBox::highlighted, this, [this](int index) { FPreview->SetFontName(itemText(index)); });
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] { FillFontList(); });
    FillFontList();
}

void TrpFontComboBox::SetShowMRU(bool value)
{
    if (value == FShowMRU)
        return;
    FShowMRU = value;
    FillFontList();
}

void TrpFontComboBox::SetMRURegKey(const QString& key)
{
    FMRURegKey = key.isEmpty() ? QString::fromLatin1(kDefaultMRURegKey) : key;
}

QString TrpFontComboBox::StoreKey() const
{
    // The store's keys are paths from the user's root: a leading "\" says nothing more.
    QString key = FMRURegKey;
    while (key.startsWith(QLatin1Char('\\')))
        key.remove(0, 1);
    return key;
}

int TrpFontComboBox::FontType(int index) const
{
    return itemData(index, kTypeRole).toInt();
}

int TrpFontComboBox::ItemHeight() const
{
    return std::max(TrpCustomComboBox::ItemHeight(), FTrueTypeMark.height() + 1);
}

void TrpFontComboBox::FillFontList()
{
    const QString current = currentText();
    QStringList families = QFontDatabase::families();
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    clear();
    for (const QString& family : families)
        addItem(family, FamilyType(family));

    FRecentCount = 0;
    if (FShowMRU && FStore) {
        const QString key = StoreKey();
        try {
            FStore->BeginUpdate();
            for (int n = kMaxRecent - 1; n >= 0; --n) {
                const QString name = FStore->ReadString(key, Numbered("Font", n));
                if (!name.isEmpty() && findText(name, Qt::MatchFixedString) >= 0) {
                    insertItem(0, name, FStore->ReadInteger(key, Numbered("FontType", n), FamilyType(name)));
                    ++FRecentCount;
                } else {
                    FStore->WriteString(key, Numbered("Font", n), QString());
                    FStore->WriteInteger(key, Numbered("FontType", n), 0);
                }
            }
            FStore->EndUpdate();
        } catch (const std::exception& error) {
            qWarning("Recently used fonts not saved: %s", error.what());
        }
    }
    const int listed = findText(current, Qt::MatchFixedString);
    setCurrentIndex(listed >= 0 ? listed : 0);
}

void TrpFontComboBox::CloseUp(int index)
{
    FPreview->hide();
    if (FShowMRU && index > 0) {
        const QString name = itemText(index);
        const int type = FontType(index);
        const int first = findText(name, Qt::MatchFixedString);
        if (first < FRecentCount) {
            removeItem(first);
        } else if (FRecentCount < kMaxRecent) {
            ++FRecentCount;
        } else {
            removeItem(kMaxRecent - 1);   // the oldest
        }
        insertItem(0, name, type);
        setCurrentIndex(0);
        SaveRecent();
    }
    if (OnClick)
        OnClick(this);
}

void TrpFontComboBox::SaveRecent()
{
    if (!FStore)
        return;
    const QString key = StoreKey();
    try {
        FStore->BeginUpdate();
        for (int n = 0; n < kMaxRecent; ++n) {
            FStore->WriteString(key, Numbered("Font", n), n < FRecentCount ? itemText(n) : QString());
            FStore->WriteInteger(key, Numbered("FontType", n), n < FRecentCount ? FontType(n) : 0);
        }
        FStore->EndUpdate();
    } catch (const std::exception& error) {
        qWarning("Recently used fonts not saved: %s", error.what());
    }
}

void TrpFontComboBox::showPopup()
{
    TrpCustomComboBox::showPopup();
    if (currentIndex() < kMaxRecent)
        view()->setCurrentIndex(model()->index(0, 0));
    const QPoint corner = mapToGlobal(QPoint(width(), height()));
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    QPoint place = corner;
    const QScreen* screen = this->screen();
    if (screen && place.x() + FPreview->width() > screen->geometry().right() + 1)
        place.setX(origin.x() - 1 - FPreview->width());
    if (DropsUpward())
        place.setY(origin.y() - FPreview->height());
    FPreview->SetFontName(currentText());
    FPreview->move(place);
    FPreview->show();
}

void TrpFontComboBox::hidePopup()
{
    FPreview->hide();
    TrpCustomComboBox::hidePopup();
}

void TrpFontComboBox::DrawImage(QPainter& painter, const QRect& area)
{
    TrpCustomComboBox::DrawImage(painter, area);
    const int index = findText(currentText(), Qt::MatchFixedString);
    if (index >= 0 && (FontType(index) & kTrueTypeFontType))
        painter.drawImage(area.left(), area.top() + (area.height() - FTrueTypeMark.height()) / 2, FTrueTypeMark);
}
