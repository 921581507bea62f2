// gui_bench DATAFILE: the desktop program's own windows, offscreen, on a copy
// of a data file, driven from the main menu as a learner goes: every module
// opened, the history summary shown again, a paper generated, an exam taken
// and submitted. Prints "gui <action>: N ms" for each, then the resident
// memory of the program and its web engine processes. An action that has not
// finished after ten minutes prints "timeout"; one that could not be done
// prints "failed" (and why, on stderr). Exit status 0 when every action
// finished.
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidgetItem>
#include <QWebEngineView>
#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/analysis/history_tree.h"
#include "core/store/data_file.h"
#include "frame/frame_commands.h"
#include "frame/quillory_frame.h"
#include "generation/paper_dialog_controls.h"
#include "practice/do_paper_frame.h"
#include "practice/input_form.h"
#include "practice/panel_controls.h"
#include "shell/main_menu_dlg.h"
#include "shell/quillory_app.h"
#include "widgets/control_name.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

constexpr std::chrono::minutes kActionLimit(10);

// Ends the process when an action keeps the user-interface thread busy past
// the limit: nothing else can run then. Waits on signals end at the limit
// by themselves.
class Watchdog {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Arm(const std::string& action) {
        {
            const std::lock_guard lock(mutex_);
            action_ = action;
            deadline_ = std::chrono::steady_clock::now() + kActionLimit + std::chrono::seconds(30);
        }
        changed_.notify_one();
    }

private:
    void Watch() {
        std::unique_lock lock(mutex_);
        while (!ending_) {
            if (action_.empty()) {
                changed_.wait(lock);
            } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout &&
                       std::chrono::steady_clock::now() >= deadline_) {
                std::printf("gui %s: timeout\n", action_.c_str());
                std::fprintf(stderr, "gui_bench: the program did not answer; stopped\n");
                std::fflush(stdout);
                std::_Exit(3);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string action_;
    std::chrono::steady_clock::time_point deadline_;
    bool ending_ = false;
    std::thread thread_;
};

// Watches a view from before an action until a page it starts has loaded (a
// load that a later one replaced does not count), or only a page that
// accept takes.
class PageWait {
public:
    explicit PageWait(QWebEngineView& view, std::function<bool()> accept = {}) {
        connection_ =
            QObject::connect(&view, &QWebEngineView::loadFinished, [this, accept](bool ok) {
                if (ok && (!accept || accept())) {
                    loaded_ = true;
                    loop_.quit();
                }
            });
    }
    ~PageWait() { QObject::disconnect(connection_); }
    PageWait(const PageWait&) = delete;
    PageWait& operator=(const PageWait&) = delete;

    bool Wait(qint64 remainingMs) {
        if (!loaded_) {
            QTimer::singleShot(std::max<qint64>(remainingMs, 1), &loop_, &QEventLoop::quit);
            loop_.exec();
        }
        return loaded_;
    }

private:
    QMetaObject::Connection connection_;
    QEventLoop loop_;
    bool loaded_ = false;
};

struct Resident {
    long all = 0;      // MB, this process and every process below it (the web engine's)
    long program = 0;  // MB, this process alone
};

// The resident memory, from /proc.
Resident ResidentMegabytes() {
    std::vector<int> family{static_cast<int>(QCoreApplication::applicationPid())};
    std::vector<std::pair<int, int>> parents;  // pid, parent pid
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid: the name may hold blanks and parentheses.
        const size_t close = line.rfind(')');
        int parent = 0;
        if (close != std::string::npos &&
            std::sscanf(line.c_str() + close + 1, " %*c %d", &parent) == 1) {
            parents.emplace_back(std::stoi(name), parent);
        }
    }
    for (size_t i = 0; i < family.size(); ++i) {
        for (const auto& [pid, parent] : parents) {
            if (parent == family[i]) {
                family.push_back(pid);
            }
        }
    }
    long kilobytes = 0;
    long programKilobytes = 0;
    for (const int pid : family) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) {
                const long resident = std::stol(line.substr(6));
                kilobytes += resident;
                if (pid == family.front()) {
                    programKilobytes = resident;
                }
            }
        }
    }
    return {kilobytes / 1024, programKilobytes / 1024};
}

// The resident memory once the renderer processes of the pages let go have
// ended, which takes them a moment.
Resident SettledResidentMegabytes() {
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return ResidentMegabytes();
}

// The data file and its page folders, copied into folder; the copy's path,
// or empty (told on stderr) when it could not be made.
QString CopyDataFile(const std::filesystem::path& source, const QString& folder) {
    const std::filesystem::path target(folder.toStdString());
    std::error_code error;
    std::filesystem::copy_file(source, target / "gui_bench.qly", error);
    for (const char* pages : quillory::kPageFolders) {
        const std::filesystem::path from = source.parent_path() / pages;
        if (!error && std::filesystem::is_directory(from)) {
            std::filesystem::copy(from, target / pages, std::filesystem::copy_options::recursive,
                                  error);
        }
    }
    if (error) {
        std::fprintf(stderr, "gui_bench: could not copy %s: %s\n", source.c_str(),
                     error.message().c_str());
        return {};
    }
    return QString::fromStdString((target / "gui_bench.qly").string());
}

int QuestionItems(const QTreeWidgetItem* item) {
    if (item->childCount() == 0) {
        return 1;
    }
    int count = 0;
    for (int i = 0; i < item->childCount(); ++i) {
        count += QuestionItems(item->child(i));
    }
    return count;
}

class GuiBench {
public:
    explicit GuiBench(CQuilloryApp& app) : app_(app) {}

    // Every action in turn; true when all finished.
    bool Run(const QString& dataFile);

private:
    // What one action came to: its time, or why there is none.
    struct Outcome {
        enum class Kind { Done, Timeout, Failed } kind = Kind::Done;
        std::string failure;
    };
    static Outcome Failure(std::string why) { return {Outcome::Kind::Failed, std::move(why)}; }

    // Runs an action and prints its line: the time from the start (or from
    // when the action restarted the clock) to its end.
    bool Measure(const std::string& name, const std::function<Outcome()>& action);
    // Waits for the page the view was told to load, within the action's limit.
    Outcome Loaded(PageWait& wait) const;

    Outcome Start(const QString& dataFile);
    Outcome OpenModule(Module module);
    Outcome HistorySummaryShown();
    Outcome ShowSummaryAgain();
    Outcome Generate();
    Outcome StartExam();
    Outcome Submit();

    CQuilloryFrame* Frame(Module module) const { return app_.MainMenu()->Frame(module); }
    CDoPaperFrame* Exam() const { return qobject_cast<CDoPaperFrame*>(Frame(Module::Exam)); }

    CQuilloryApp& app_;
    Watchdog watchdog_;
    QElapsedTimer clock_;
    // From the history module's button to its summary, which comes after
    // the module's first page when it must be built.
    std::unique_ptr<PageWait> summaryWait_;
    QElapsedTimer historyClock_;
};

bool GuiBench::Measure(const std::string& name, const std::function<Outcome()>& action) {
    watchdog_.Arm(name);
    clock_.start();
    const Outcome outcome = action();
    const qint64 elapsed = clock_.elapsed();
    switch (outcome.kind) {
        case Outcome::Kind::Done:
            std::printf("gui %s: %lld ms\n", name.c_str(), static_cast<long long>(elapsed));
            break;
        case Outcome::Kind::Timeout:
            std::printf("gui %s: timeout\n", name.c_str());
            break;
        case Outcome::Kind::Failed:
            std::printf("gui %s: failed\n", name.c_str());
            std::fprintf(stderr, "gui_bench: %s: %s\n", name.c_str(), outcome.failure.c_str());
            break;
    }
    std::fflush(stdout);
    return outcome.kind == Outcome::Kind::Done;
}

GuiBench::Outcome GuiBench::Loaded(PageWait& wait) const {
    const qint64 limit = std::chrono::milliseconds(kActionLimit).count();
    return wait.Wait(limit - clock_.elapsed()) ? Outcome{} : Outcome{Outcome::Kind::Timeout, {}};
}

GuiBench::Outcome GuiBench::Start(const QString& dataFile) {
    if (!app_.InitInstance(dataFile)) {
        return Failure("the program did not start on the data file");
    }
    return QTest::qWaitForWindowExposed(app_.MainMenu(), 60000)
               ? Outcome{}
               : Failure("the main menu was not shown");
}

GuiBench::Outcome GuiBench::OpenModule(Module module) {
    CQuilloryFrame* frame = Frame(module);
    auto* button = app_.MainMenu()->findChild<QPushButton*>(
        QStringLiteral("ModuleButton%1").arg(IndexOf(module)));
    if (frame == nullptr || button == nullptr) {
        return Failure("no such module on the main menu");
    }
    PageWait page(*frame->ContentView());
    if (module == Module::History) {
        QWebEngineView* view = frame->ContentView();
        summaryWait_ = std::make_unique<PageWait>(
            *view, [view] { return view->title() == QStringLiteral("用户历史分析"); });
        historyClock_ = clock_;
    }
    button->click();
    if (!frame->isVisible() || !frame->IsLoaded()) {
        return Failure("the module was not shown with its tree");
    }
    // An empty tree selects nothing, so no page follows.
    if (frame->TreeView()->topLevelItemCount() == 0) {
        return {};
    }
    return Loaded(page);
}

GuiBench::Outcome GuiBench::HistorySummaryShown() {
    if (!summaryWait_) {
        return Failure("the history module was not opened");
    }
    clock_ = historyClock_;
    const Outcome outcome = Loaded(*summaryWait_);
    summaryWait_.reset();
    return outcome;
}

GuiBench::Outcome GuiBench::ShowSummaryAgain() {
    CQuilloryFrame* history = Frame(Module::History);
    CTreeViewExt& tree = *history->TreeView();
    QTreeWidgetItem* root = tree.FindItemById(quillory::kHistoryRootId);
    if (root == nullptr) {
        return Failure("the history tree has no root");
    }
    // Away from the root first: a day shows no page; without one, the
    // mistake notebook does.
    if (root->childCount() > 0) {
        tree.SelectItem(root->child(0));
    } else {
        PageWait notebook(*history->ContentView());
        tree.SelectItemById(quillory::kMistakesItemId);
        if (Loaded(notebook).kind != Outcome::Kind::Done) {
            return Failure("the mistake notebook was not shown");
        }
    }
    clock_.start();
    PageWait summary(*history->ContentView());
    tree.SelectItem(root);
    return Loaded(summary);
}

GuiBench::Outcome GuiBench::Generate() {
    CQuilloryFrame* practice = Frame(Module::PracticePapers);
    const int before = practice->TreeView()->topLevelItemCount();
    bool answered = false;
    // The auto-paper dialog: a title, the adjustment on, the first template.
    QTimer::singleShot(0, practice, [&] {
        auto* dialog = QApplication::activeModalWidget();
        auto* title = dialog ? dialog->findChild<QLineEdit*>(ControlName(kCtlPaperTitle)) : nullptr;
        auto* adjust =
            dialog ? dialog->findChild<QCheckBox*>(ControlName(kCtlAdjustByHistory)) : nullptr;
        auto* ok = dialog ? dialog->findChild<QPushButton*>(ControlName(kCtlOk)) : nullptr;
        if (title == nullptr || adjust == nullptr || ok == nullptr) {
            return;
        }
        title->setText(QStringLiteral("基准测试卷"));
        adjust->setChecked(true);
        answered = true;
        clock_.start();
        ok->click();
    });
    practice->Command(kCmdNewPaper)->trigger();
    if (!answered) {
        return Failure("the auto-paper dialog did not come");
    }
    const QTreeWidgetItem* paper = practice->TreeView()->FindItemById(practice->CurrentItemId());
    if (practice->TreeView()->topLevelItemCount() != before + 1 || paper == nullptr ||
        paper->parent() != nullptr || paper->text(0) != QStringLiteral("基准测试卷")) {
        return Failure("the new paper is not selected in the practice tree");
    }
    // A generated paper has no page of its own: the selection is the end.
    return {};
}

GuiBench::Outcome GuiBench::StartExam() {
    CQuilloryFrame* papers = Frame(Module::ClassicPapers);
    CDoPaperFrame* exam = Exam();
    // The classic paper of the most question items (100 on the synthetic banks).
    QTreeWidgetItem* paper = nullptr;
    for (int i = 0; i < papers->TreeView()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = papers->TreeView()->topLevelItem(i);
        if (paper == nullptr || QuestionItems(item) > QuestionItems(paper)) {
            paper = item;
        }
    }
    if (paper == nullptr || exam == nullptr) {
        return Failure("no classic paper to take");
    }
    // Its page shown first, unless it is (the first paper is selected at the start).
    if (papers->CurrentItemId() != CTreeViewExt::ItemId(paper)) {
        PageWait shown(*papers->ContentView());
        papers->TreeView()->SelectItem(paper);
        if (papers->CurrentItemId() != CTreeViewExt::ItemId(paper)) {
            return Failure("the paper could not be selected");
        }
        if (Loaded(shown).kind != Outcome::Kind::Done) {
            return Failure("the paper's page was not shown");
        }
    }
    clock_.start();
    {
        PageWait root(*exam->ContentView());
        papers->Command(kCmdStartExam)->trigger();
        if (!exam->isVisible() || exam->State() != quillory::ExamState::Answering) {
            return Failure("the exam did not start");
        }
        if (const Outcome outcome = Loaded(root); outcome.kind != Outcome::Kind::Done) {
            return outcome;
        }
    }
    // "下一题" down to the first question item, each page shown.
    auto* next = exam->Panel()->findChild<QPushButton*>(ControlName(kCtlNext));
    const auto atQuestion = [exam] {
        const int index = exam->Nodes().IndexOf(exam->CurrentItemId());
        return index >= 0 && exam->Nodes()[static_cast<size_t>(index)].questionId != 0;
    };
    for (int step = 0; !atQuestion(); ++step) {
        if (next == nullptr || step == 3) {
            return Failure("no question item after the paper and its section");
        }
        PageWait question(*exam->ContentView());
        next->click();
        if (const Outcome outcome = Loaded(question); outcome.kind != Outcome::Kind::Done) {
            return outcome;
        }
    }
    return {};
}

GuiBench::Outcome GuiBench::Submit() {
    CDoPaperFrame* exam = Exam();
    PageWait record(*exam->ContentView());
    // Nothing answered: the question whether to submit anyway is answered yes.
    exam->Command(kCmdSubmit)->trigger();
    if (exam->State() != quillory::ExamState::Result) {
        return Failure("the exam was not submitted");
    }
    return Loaded(record);
}

bool GuiBench::Run(const QString& dataFile) {
    bool ok = Measure("start", [&] { return Start(dataFile); });
    if (!ok) {
        return false;
    }
    const struct {
        const char* name;
        Module module;
    } modules[] = {{"classic-papers", Module::ClassicPapers},
                   {"practice-papers", Module::PracticePapers},
                   {"knowledge", Module::Knowledge},
                   {"classic-analysis", Module::ClassicAnalysis},
                   {"history", Module::History}};
    for (const auto& entry : modules) {
        ok = Measure(entry.name, [&] { return OpenModule(entry.module); }) && ok;
    }
    ok = Measure("history-summary", [&] { return HistorySummaryShown(); }) && ok;
    ok = Measure("summary", [&] { return ShowSummaryAgain(); }) && ok;
    ok = Measure("generate", [&] { return Generate(); }) && ok;
    const bool started = Measure("exam", [&] { return StartExam(); });
    ok = started && Measure("submit", [&] { return Submit(); }) && ok;
    const Resident atOnce = ResidentMegabytes();
    const Resident resident = SettledResidentMegabytes();
    std::printf("gui rss: %ld MB (program %ld MB; %ld MB at once after the last action)\n",
                resident.all, resident.program, atOnce.all);
    std::fflush(stdout);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_bench DATAFILE\n");
        return 2;
    }
    const std::filesystem::path source = std::filesystem::absolute(argv[1]);
    if (!std::filesystem::is_regular_file(source)) {
        std::fprintf(stderr, "gui_bench: %s is not a data file\n", source.c_str());
        return 2;
    }
    // As the GUI tests run: no screen, the web engine without its sandbox,
    // settings in a folder of their own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir(folder.path()).mkdir(QStringLiteral("config"))) {
        std::fprintf(stderr, "gui_bench: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME",
            QDir(folder.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    const QString dataFile = CopyDataFile(source, folder.path());
    if (dataFile.isEmpty()) {
        return 1;
    }
    PrepareFontConfig();
    int appArgc = 1;
    CQuilloryApp app(appArgc, argv);
    // Every box answered with its first button (OK, or yes), and told.
    SetMessageBoxHandler(
        [](QWidget*, const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons buttons) {
            std::fprintf(stderr, "gui_bench: message box: %s\n", qPrintable(text));
            return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes;
        });
    bool ok = false;
    {
        GuiBench bench(app);
        ok = bench.Run(dataFile);
    }
    app.ExitInstance();
    return ok ? 0 : 1;
}
