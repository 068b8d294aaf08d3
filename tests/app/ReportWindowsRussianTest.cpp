// The report windows speak Russian: the program's demonstration board is polled, its protocol
// shown in the main window's preview, and every window and dialog an operator can open from
// there (find, print and the PDF file, page setup, save and export with their options, open
// with its error box, the reopened report's own preview window, the progress window) is read for
// captions, labels, buttons, hints and list items in Latin letters; names (COM3, PDF, RTF, file
// extensions, font and printer names) may stay. Every window that shows meanwhile is read, the
// ones nobody expected included, and every dialog class of the report engine must be among those
// read.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"
#include "tests/app/RussianTexts.h"

#include "app/detail/DetailControl.h"
#include "app/detail/HistoryModel.h"
#include "app/detail/HistoryTree.h"
#include "app/main/FMain.h"
#include "app/main/RussianInterface.h"
#include "app/main/RussianReportTexts.h"
#include "app/reports/ReportWindows.h"
#include "core/Monitor.h"
#include "report/runtime/RunContext.h"
#include "report/ui/FontComboBox.h"
#include "report/ui/FormatForm.h"
#include "report/ui/PasswordForm.h"
#include "report/ui/Preview.h"
#include "report/ui/PreviewForm.h"
#include "report/ui/PrintForm.h"
#include "report/ui/ProgressForm.h"
#include "report/ui/SpeedButton.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <cxxabi.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>

using namespace std::chrono_literals;

namespace {

std::string ClassName(const QObject& object)
{
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(object).name(), nullptr, nullptr, &status);
    std::string result = status == 0 && name ? name : typeid(object).name();
    std::free(name);
    return result;
}

// One text a window shows, where it shows it, and the names it may hold.
struct TShownText {
    QString Where;
    QString Text;
    QStringList Names;
};

// Every text a window and its children show: the title, labels, buttons, group titles, hints,
// menu items, list items, tab texts, spin box affixes and the file types of file dialogs. The
// items of font lists are font names and those of a file dialog's folder list are paths; printer
// lists hold printer names and paper lists paper designations.
std::vector<TShownText> ShownTexts(QWidget& window, const QStringList& printers)
{
    std::vector<TShownText> texts;
    const auto add = [&texts](const QObject& object, const char* what, const QString& text,
                              const QStringList& names = {}) {
        if (!text.trimmed().isEmpty())
            texts.push_back({object.objectName() + QLatin1Char('.') + QLatin1String(what), text, names});
    };
    add(window, "windowTitle", window.windowTitle());
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        add(*w, "toolTip", w->toolTip());
        add(*w, "statusTip", w->statusTip());
        add(*w, "whatsThis", w->whatsThis());
        add(*w, "accessibleName", w->accessibleName());
        for (const QAction* action : w->actions()) {
            add(*action, "text", action->text());
            add(*action, "toolTip", action->toolTip());
        }
        if (const auto* label = qobject_cast<QLabel*>(w))
            add(*w, "text", Qt::mightBeRichText(label->text())
                                ? QTextDocumentFragment::fromHtml(label->text()).toPlainText() : label->text());
        if (const auto* button = qobject_cast<QAbstractButton*>(w))
            add(*w, "text", button->text());
        if (const auto* group = qobject_cast<QGroupBox*>(w))
            add(*w, "title", group->title());
        if (const auto* speed = dynamic_cast<const TrpSpeedButton*>(w))
            add(*w, "caption", speed->Caption());
        if (const auto* edit = qobject_cast<QLineEdit*>(w))
            add(*w, "placeholder", edit->placeholderText());
        if (const auto* spin = qobject_cast<QSpinBox*>(w))
            add(*w, "affixes", spin->prefix() + spin->suffix() + spin->specialValueText());
        if (const auto* spin = qobject_cast<QDoubleSpinBox*>(w))
            add(*w, "affixes", spin->prefix() + spin->suffix() + spin->specialValueText());
        if (const auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(*w, "tab", tabs->tabText(i));
        if (const auto* files = qobject_cast<QFileDialog*>(w))
            for (const QString& type : files->nameFilters())
                add(*w, "nameFilter", type);
        const auto* list = qobject_cast<QComboBox*>(w);
        if (list && !qobject_cast<QFontComboBox*>(w) && !dynamic_cast<const TrpFontComboBox*>(w) &&
            w->objectName() != QLatin1String("lookInCombo")) {
            const QStringList names = w->objectName() == QLatin1String("CBPaper") ? kPaperDesignations : printers;
            for (int i = 0; i < list->count(); ++i)
                add(*w, "item", list->itemText(i), names);
        }
    }
    return texts;
}

// Reads every window that shows for texts in Latin letters, and answers the modal ones: with the
// answer given for the next window of its class, else as Escape would (the progress window is
// left to its work). Answers run from a timer of their own, so that the windows they open in
// turn are watched too.
class TWindowWatcher {
public:
    using TAnswer = std::function<void(QWidget&)>;

    // The main window (read apart: its preview) is not the watcher's.
    TWindowWatcher(const TrpRunContext& context, const QWidget& mainWindow) : context_(context), main_(&mainWindow)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(2);
    }

    // The next window of that class is answered so.
    void Then(const std::string& className, TAnswer answer) { answers_.push_back({className, std::move(answer)}); }
    bool AllAnswered() const { return answers_.empty(); }

    void Read(QWidget& window)
    {
        const std::string name = ClassName(window);
        ReadClasses.insert(name);
        QStringList printers = context_.ReportPrinter.Printers;
        printers.removeLast();   // the virtual printer: the program's own name
        for (const TShownText& shown : ShownTexts(window, printers)) {
            const QStringList latin = LatinWords(shown.Text, shown.Names);
            const QString finding =
                QStringLiteral("%1 %2: \"%3\"").arg(QString::fromStdString(name), shown.Where, shown.Text);
            if (!latin.isEmpty() && !Findings.contains(finding))
                Findings << finding;
        }
    }

    QStringList Findings;
    std::set<std::string> ReadClasses;

private:
    void Tick()
    {
        std::set<QWidget*> visible;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != main_)
                visible.insert(w);
        // A window gone may leave its address to the next one: that one is new.
        for (auto it = shown_.begin(); it != shown_.end();)
            it = it->second.Window && visible.count(it->first) ? std::next(it) : shown_.erase(it);
        for (QWidget* w : visible)
            if (shown_.emplace(w, TShown{w, false}).second)
                Read(*w);
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !shown_.count(modal) || shown_[modal].Answered || ClassName(*modal) == "TrpProgressForm")
            return;
        shown_[modal].Answered = true;
        TAnswer answer = [](QWidget& w) {
            if (auto* dialog = qobject_cast<QDialog*>(&w))
                dialog->reject();
            else
                w.close();
        };
        if (!answers_.empty() && answers_.front().first == ClassName(*modal)) {
            answer = std::move(answers_.front().second);
            answers_.pop_front();
        }
        QTimer::singleShot(0, modal, [this, target = QPointer<QWidget>(modal), answer] {
            if (!target)
                return;
            Read(*target);
            answer(*target);
        });
    }

    struct TShown {
        QPointer<QWidget> Window;
        bool Answered = false;
    };

    const TrpRunContext& context_;
    const QWidget* main_;
    QTimer timer_;
    std::map<QWidget*, TShown> shown_;   // the windows showing
    std::deque<std::pair<std::string, TAnswer>> answers_;
};

// The program's report context as main() makes it: its texts Russian before the window is made,
// and the report windows installed over the window.
class TRussianReportContext {
protected:
    TRussianReportContext() { InstallRussianReportTexts(OwnReportContext); }
    TMonitor OwnMonitor;
    TrpRunContext OwnReportContext;
};

class TRussianReportsWindow : private TRussianReportContext, public TfmMain {
public:
    TRussianReportsWindow(const QStringList& arguments, TScriptedModal& modal)
        : TfmMain(OwnMonitor, OwnReportContext, modal.Interaction, arguments)
    {
        InstallReportWindows(OwnReportContext, *this);
    }
};

// A file dialog answered: the type of that index and the file, typed as a user would (a file
// chosen while the name field has the focus would not reach the field).
TWindowWatcher::TAnswer ChooseFile(int type, const QString& fileName)
{
    return [type, fileName](QWidget& w) {
        auto& dialog = static_cast<QFileDialog&>(w);
        dialog.selectNameFilter(dialog.nameFilters().value(type));
        dialog.setDirectory(QFileInfo(fileName).path());
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QFileInfo(fileName).fileName());
        static_cast<QDialog&>(dialog).accept();
    };
}

class ReportWindowsRussianTest : public ::testing::Test {
protected:
    // The demonstration board polled once in the no-port mode, its protocol in the preview.
    void SetUp() override
    {
        window = std::make_unique<TRussianReportsWindow>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid", "no_com"}, modal);
        window->show();
        QCoreApplication::processEvents();
        window->aList.UpdateAll();
        ASSERT_TRUE(window->Execute(window->acFullExchg));
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (window->SendTH() && std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        ASSERT_EQ(window->SendTH(), nullptr);
        QCoreApplication::processEvents();
        watcher = std::make_unique<TWindowWatcher>(window->ReportContext, *window);
        // The protocol is of the poll chosen in the history: the newest.
        const THistoryModel& history = window->Detail->History->Model();
        window->vtHistory->setCurrentIndex(history.index(0, 0, history.index(0, 0)));
        window->aList.UpdateAll();
        ASSERT_TRUE(window->Execute(window->acPreview));
        ASSERT_GT(Preview().PageCount(), 0);
    }
    void TearDown() override
    {
        watcher.reset();
        window->close();
        window.reset();
    }

    TrpPreviewForm& Preview() const { return *window->rpPreview1->Window; }
    static void Press(TrpSpeedButton* button) { button->OnClick(button); }
    QString Path(const char* name) const { return QDir(folders.Home()).filePath(QString::fromLatin1(name)); }

    // What was read, and nothing in Latin letters; every answer given was used.
    void ExpectRussian(std::initializer_list<std::string> classes)
    {
        for (const std::string& name : classes)
            EXPECT_TRUE(watcher->ReadClasses.count(name)) << name << " was not read";
        EXPECT_TRUE(watcher->AllAnswered());
        EXPECT_TRUE(watcher->Findings.isEmpty()) << watcher->Findings.join('\n').toStdString();
    }

    TAppFolders folders;
    TRussianInterface russian{QLocale(QLocale::English, QLocale::UnitedStates)};
    TScriptedModal modal;
    std::unique_ptr<TRussianReportsWindow> window;
    std::unique_ptr<TWindowWatcher> watcher;
};

// The windows each test opens; together they must hold every dialog class of the engine.
const std::initializer_list<std::string> kEmbeddedPreviewWindows{
    "TrpPreview", "TrpPreviewForm", "TrpProgressForm", "TrpPreviewSearchForm", "TrpPrintForm", "QFileDialog",
    "QMessageBox", "TrpPageSetupForm", "TrpRtfExpSet", "TrpTXTExportForm"};
const std::initializer_list<std::string> kEngineWindowsOutsideThePreview{"TrpRichForm", "TrpFmtForm", "TrpPasswForm"};

TEST_F(ReportWindowsRussianTest, TheEmbeddedPreviewAndEveryDialogItOpens)
{
    // The preview with its tool bar (the program's buttons too), its page label and zoom menu,
    // and the progress window the build ran under.
    watcher->Read(*window->rpPreview1);
    watcher->Read(Preview());
    ASSERT_NE(window->ReportContext.ProgressWindow, nullptr);
    watcher->Read(*dynamic_cast<TrpProgressForm*>(window->ReportContext.ProgressWindow));
    EXPECT_TRUE(Preview().Label1->text().startsWith(QStringLiteral("Страница 1/"))) << Preview().Label1->text().toStdString();

    Press(Preview().FindBtn);
    // Printing on the virtual printer asks for the PDF file; without one nothing prints.
    watcher->Then("TrpPrintForm", [](QWidget& w) { static_cast<TrpPrintForm&>(w).Button1->click(); });
    Press(Preview().PrintBtn);
    Press(Preview().PageSetupBtn);
    // Saved as a prepared report, then the two exports as far as their options.
    watcher->Then("QFileDialog", ChooseFile(0, Path("protocol.rpp")));
    Press(Preview().SaveBtn);
    ASSERT_TRUE(QFile::exists(Path("protocol.rpp")));
    watcher->Then("QFileDialog", ChooseFile(1, Path("protocol.rtf")));
    Press(Preview().SaveBtn);
    watcher->Then("QFileDialog", ChooseFile(2, Path("protocol.txt")));
    Press(Preview().SaveBtn);
    // Files that are no prepared report, whole or cut short, are refused in an error box.
    QFile::copy(Path("protocol.rpp"), Path("cut.rpp"));
    QFile::resize(Path("cut.rpp"), QFileInfo(Path("cut.rpp")).size() / 2);
    for (const char* name : {"SiloBins.xml", "cut.rpp"}) {
        watcher->Then("QFileDialog", ChooseFile(0, Path(name)));
        watcher->Then("QMessageBox", [](QWidget& w) { static_cast<QDialog&>(w).reject(); });
        Press(Preview().LoadBtn);
    }
    ExpectRussian(kEmbeddedPreviewWindows);
}

TEST_F(ReportWindowsRussianTest, TheReopenedReportsPreviewWindow)
{
    watcher->Then("QFileDialog", ChooseFile(0, Path("protocol.rpp")));
    Press(Preview().SaveBtn);
    // "Печать" reopens a saved report in a preview window of its own, with help and close.
    modal.ThenDialog([&](QDialog& dialog) {
        watcher->Read(dialog);
        static_cast<QFileDialog&>(dialog).selectFile(Path("protocol.rpp"));
        dialog.accept();
        return int(QDialog::Accepted);
    });
    bool shown = false;
    watcher->Then("TrpPreviewForm", [&shown](QWidget& w) {
        auto& form = static_cast<TrpPreviewForm&>(w);
        shown = true;
        EXPECT_TRUE(form.windowTitle().startsWith(QStringLiteral("Предпросмотр - "))) << form.windowTitle().toStdString();
        EXPECT_FALSE(form.HelpBtn->isHidden());
        EXPECT_FALSE(form.ExitBtn->isHidden());
        form.ExitBtn->OnClick(form.ExitBtn);
    });
    window->aList.UpdateAll();
    ASSERT_TRUE(window->Execute(window->acPrint));
    EXPECT_TRUE(shown);
    ExpectRussian({"TrpPreviewForm", "QFileDialog"});
}

TEST_F(ReportWindowsRussianTest, TheEnginesOtherWindows)
{
    // The rich-text editor, the display format and the password dialogs serve templates the
    // program does not make; they are Russian all the same.
    QTextDocument text;
    text.setPlainText(QStringLiteral("Текст"));
    EXPECT_EQ(window->ReportContext.RichEditor(text), nullptr);
    TrpFmtForm format(window->ReportContext, window.get());
    format.exec();
    TrpPasswForm password(window->ReportContext, window.get());
    watcher->Read(password);   // its second label shows only when a password is set
    password.exec();
    ExpectRussian(kEngineWindowsOutsideThePreview);
}

// A dialog class added to the engine's windows is caught: the tests above must read it.
TEST(ReportWindowsRussianSources, EveryDialogOfTheEngineIsRead)
{
    std::set<std::string> read(kEmbeddedPreviewWindows);
    read.insert(kEngineWindowsOutsideThePreview);
    const QDir folder(QStringLiteral(TZ_SOURCE_DIR "/report/ui"));
    static const QRegularExpression dialogClass(
        QStringLiteral("class\\s+(\\w+)\\s*(?:final\\s*)?:\\s*public\\s+QDialog\\b"));
    int found = 0;
    for (const QString& header : folder.entryList({QStringLiteral("*.h")}, QDir::Files)) {
        QFile file(folder.filePath(header));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << header.toStdString();
        const QString source = QString::fromUtf8(file.readAll());
        for (auto match = dialogClass.globalMatch(source); match.hasNext(); ++found) {
            const std::string name = match.next().captured(1).toStdString();
            EXPECT_TRUE(read.count(name)) << name << " (" << header.toStdString() << ") is read by no test";
        }
    }
    EXPECT_GE(found, 10);
}

} // namespace
