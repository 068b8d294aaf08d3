#pragma once
// The font name combo box of the editor windows: the installed font families in alphabetical
// order, with a mark beside scalable (TrueType-like) ones, and, at the top, the five fonts
// chosen most recently, newest first, kept in the user's store under MRURegKey ("Font0" to
// "Font4" and "FontType0" to "FontType4"). A recently used font that is no longer installed is
// dropped from the store when the list is filled. While the list is open a small window shows
// the font under the cursor.
#include <QLabel>
#include <QWidget>

#include "report/ui/FlatComboBox.h"
#include "report/ui/SpeedButton.h"

class KeyValueStore;

// The font types the list keeps with each family, as the stored "FontType" values spell them.
constexpr int kRasterFontType = 1;
constexpr int kTrueTypeFontType = 4;

// The pop-up beside the open font list: the font's name written in that font.
class TrpFontPreview : public QWidget {
public:
    explicit TrpFontPreview(QWidget* parent = nullptr);
    void SetFontName(const QString& name);
    QString FontName() const { return panel_->text(); }

private:
    QLabel* panel_;
};

class TrpFontComboBox : public TrpCustomComboBox {
public:
    static constexpr int kMaxRecent = 5;
    static constexpr auto kDefaultMRURegKey = "\\Software\\ReportEngine\\MRUFont";

    // Without a store the recently used fonts last as long as the control.
    explicit TrpFontComboBox(QWidget* parent = nullptr, KeyValueStore* store = nullptr);

    bool ShowMRU() const { return FShowMRU; }
    void SetShowMRU(bool value);
    QString MRURegKey() const { return FMRURegKey; }
    // An empty key restores the default.
    void SetMRURegKey(const QString& key);
    // The number of recently used fonts at the top of the list.
    int RecentCount() const { return FRecentCount; }
    int FontType(int index) const;

    // Fills the list afresh (done at creation and whenever the installed fonts change).
    void FillFontList();

    int ItemHeight() const override;
    void showPopup() override;
    void hidePopup() override;

    TrpFontPreview* Preview() const { return FPreview; }
    // A font was chosen from the list.
    TNotifyEvent OnClick;

protected:
    void DrawImage(QPainter& painter, const QRect& area) override;

private:
    // A choice from the list moves the font to the top of the recently used ones.
    void CloseUp(int index);
    void SaveRecent();
    QString StoreKey() const;

    KeyValueStore* FStore;
    TrpFontPreview* FPreview;
    QImage FTrueTypeMark;
    QString FMRURegKey = QString::fromLatin1(kDefaultMRURegKey);
    int FRecentCount = 0;
    bool FShowMRU = true;
};

// The mark drawn beside scalable fonts.
QImage TrueTypeMark();
