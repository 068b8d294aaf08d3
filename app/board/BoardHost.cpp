#include "app/board/BoardHost.h"

#include "app/board/FrameSiloBin.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/SiloBinLayout.h"
#include "app/main/UnhandledException.h"
#include "app/board/BinPanel.h"
#include "core/Device/Silos.h"
#include "core/ExchangeLog.h"
#include "core/Monitor.h"
#include "core/WindowMessages.h"

#include <QAction>
#include <QMenu>
#include <QScrollArea>

#include <algorithm>

namespace {

// Two frames overlap when the rectangle holding both is no wider and no higher than the two
// side by side: frames that only touch count as overlapping.
bool Overlap(const QRect& a, const QRect& b)
{
    const QRect both = a.united(b);
    return !both.isEmpty() && a.width() + b.width() >= both.width() && a.height() + b.height() >= both.height();
}

// An arrangement steps by one table row; a first frame without rows steps by the board's grid.
int ArrangeStep(const TfrSiLoBin& first)
{
    return first.RowCount() > 0 ? std::max(first.RowHeight(), 1) : kBoardGridStep;
}

QString LayoutPath(const Parameters& settings)
{
    return settings.SiloBinsFile.isEmpty() ? DefaultSiloBinsFile() : settings.SiloBinsFile;
}

} // namespace

TBoardHost::TBoardHost(TMonitor& monitor, const TBoardWindow& window, TBinPanel& panel)
    : QObject(window.Window), monitor_(monitor), window_(window), panel_(panel)
{
    window_.Window->installEventFilter(this);
    panel_.installEventFilter(this);
}

TfrSiLoBin* TBoardHost::GetSiloBin(int index) const
{
    return index >= 0 && index < SiloBinCount() ? siloBins_[static_cast<size_t>(index)] : nullptr;
}

void TBoardHost::BuildBoard()
{
    window_.Grid->hide();
    struct TShowAgain {
        QWidget* grid;
        ~TShowAgain() { grid->show(); }
    } showAgain{window_.Grid};

    for (int i = 0; i < monitor_.Settings.SiloBinCount; ++i) {
        auto* frame = new TfrSiLoBin(monitor_, static_cast<uint8_t>(i + 1), this, &panel_);
        siloBins_.push_back(frame);
        frame->SetEditMode(window_.EditMode->isChecked());
        frame->OnSelectSilo = [this, frame](TSilos* silos) {
            placeFrame_ = frame;
            if (OnSelectSilo)
                OnSelectSilo(silos);
        };
        frame->show();
    }
    LoadSiloBinLayout();
    FillBlockMenu();
    for (TfrSiLoBin* frame : siloBins_)
        frame->ArrangeOnResize = true;
    WMArrangeSiloBins();
}

void TBoardHost::FillBlockMenu()
{
    QMenu* menu = window_.BlockMenu;
    menu->clear();
    for (int i = 0; i < SiloBinCount(); ++i) {
        QAction* item = menu->addAction(siloBins_[static_cast<size_t>(i)]->GetCaption());
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, i] {
            if (ExchangeOneBlock)
                RunGuarded(this, [&] { ExchangeOneBlock(i); });
        });
    }
}

void TBoardHost::ClearBoard()
{
    if (!siloBins_.empty()) {
        if (unreadLayout_ == LayoutPath(monitor_.Settings))
            monitor_.Log.Post(QStringLiteral("Файл конфигурации силкорпусов \"%1\" не был прочитан и поэтому не перезаписан")
                                .arg(unreadLayout_),
                kLogError);
        else
            RunGuarded(this, [this] { SaveSiloBinLayout(); });
    }
    placeFrame_ = nullptr;
    std::vector<TfrSiLoBin*> frames;
    frames.swap(siloBins_);
    for (TfrSiLoBin* frame : frames)
        delete frame;
    window_.BlockMenu->clear();
}

void TBoardHost::RepaintBoard()
{
    for (TfrSiLoBin* frame : siloBins_)
        frame->vtTree->update();
}

void TBoardHost::WMArrangeSiloBins()
{
    if (siloBins_.empty())
        return;
    const int step = ArrangeStep(*siloBins_.front());
    for (size_t i = 0; i < siloBins_.size(); ++i)
        for (size_t j = i + 1; j < siloBins_.size(); ++j) {
            const QRect fixed = siloBins_[i]->geometry();
            QRect moved = siloBins_[j]->geometry();
            while (Overlap(fixed, moved))
                moved.translate(0, step);
            if (moved.top() != siloBins_[j]->y())
                siloBins_[j]->move(moved.topLeft());
        }
}

void TBoardHost::BoardMouseEnter()
{
    if (siloBins_.empty())
        return;
    const auto focused = std::find_if(siloBins_.begin(), siloBins_.end(),
        [](const TfrSiLoBin* frame) { return frame->vtTree->hasFocus(); });
    TfrSiLoBin* frame = focused != siloBins_.end() ? *focused : placeFrame_ ? placeFrame_ : siloBins_.front();
    frame->vtTree->setFocus(Qt::MouseFocusReason);
}

void TBoardHost::SetEditMode(bool on)
{
    for (TfrSiLoBin* frame : siloBins_)
        frame->SetEditMode(on);
}

void TBoardHost::LoadSiloBinLayout()
{
    const QString path = LayoutPath(monitor_.Settings);
    const TLayoutLoadResult result = ::LoadSiloBinLayout(siloBins_, path);
    if (result.State == TLayoutLoadResult::Failed) {
        unreadLayout_ = path;
        monitor_.Log.Post(QStringLiteral("Файл конфигурации силкорпусов \"%1\" не прочитан: %2").arg(path, result.Error),
            kLogError);
        return;
    }
    if (unreadLayout_ == path)
        unreadLayout_.clear();
    if (result.State == TLayoutLoadResult::Loaded)
        ShowLayoutFileInCaption();
}

void TBoardHost::SaveSiloBinLayout()
{
    const QString path = LayoutPath(monitor_.Settings);
    ::SaveSiloBinLayout(siloBins_, path);
    if (unreadLayout_ == path)
        unreadLayout_.clear();
    ShowLayoutFileInCaption();
}

void TBoardHost::ShowLayoutFileInCaption()
{
    QString caption = window_.Window->windowTitle();
    const qsizetype bar = caption.indexOf(QLatin1Char('|'));
    if (bar >= 0) {
        caption.truncate(bar);
        while (caption.endsWith(QLatin1Char(' ')))
            caption.chop(1);
    }
    window_.Window->setWindowTitle(caption + QStringLiteral(" | ") + LayoutPath(monitor_.Settings));
}

std::vector<TSilos*> TBoardHost::Suspensions() const
{
    std::vector<TSilos*> all;
    for (int i = 0; i < SiloBinCount(); ++i) {
        const std::vector<TSilos*> frame = FrameSuspensions(i);
        all.insert(all.end(), frame.begin(), frame.end());
    }
    return all;
}

std::vector<TSilos*> TBoardHost::SelectedSuspensions() const
{
    std::vector<TSilos*> selected = Suspensions();
    std::erase_if(selected, [](const TSilos* silos) { return !silos->Selected; });
    return selected;
}

std::vector<TSilos*> TBoardHost::FrameSuspensions(int index) const
{
    std::vector<TSilos*> silos;
    if (const TfrSiLoBin* frame = GetSiloBin(index))
        for (int row = 0; row < frame->RowCount(); ++row)
            for (int col = 0; col < frame->ColCount(); ++col)
                if (TSilos* s = frame->GetSilo(row, col))
                    silos.push_back(s);
    return silos;
}

void TBoardHost::ShowSilosDetail(const QString& caption, TSilos* silos)
{
    if (ShowDetail)
        ShowDetail(caption, silos);
}

bool TBoardHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_.Window && event->type() == WM_ARRANGE_SILOBINS) {
        RunGuarded(this, [this] { WMArrangeSiloBins(); });
        return true;
    }
    if (watched == &panel_ && event->type() == QEvent::Enter)
        RunGuarded(this, [this] { BoardMouseEnter(); });
    return QObject::eventFilter(watched, event);
}
