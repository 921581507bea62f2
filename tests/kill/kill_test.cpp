// Every write the program makes to a data file, stopped by SIGKILL: at
// random moments, and deterministically between two of its statements by
// the store's test hook (QUILLORY_TEST_STOP_AFTER_WRITES). Afterwards the
// file opens and passes the engine's integrity check, every row of every
// table and the bank check's findings are those of before the write or of
// after it whole (after a stop inside it: of before), and a page it
// rewrites is the earlier one or the new one whole. QUILLORY_KILL_TRIALS
// sets the random kills per write (scripts/kill-test.sh runs many),
// QUILLORY_KILL_SEED repeats a run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/bank/bank_builder.h"
#include "core/bank/bank_check.h"
#include "core/store/data_store.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::ProgramFolder;
using testing::SourceFolder;
using testing::TempDir;

constexpr char kBankFile[] = "bank.qly";
constexpr char kStopAfterWrites[] = "QUILLORY_TEST_STOP_AFTER_WRITES";
constexpr int kGeneratedPapers = 3;

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

// Starts the write; with stopAfter > 0 the store's hook kills it after that
// many statements.
pid_t Spawn(const std::vector<std::string>& args, long stopAfter = 0) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // The environment is made before the fork: the child only execs.
    std::vector<std::string> env;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string(*variable).rfind(std::string(kStopAfterWrites) + "=", 0) != 0) {
            env.emplace_back(*variable);
        }
    }
    if (stopAfter > 0) {
        env.push_back(std::string(kStopAfterWrites) + "=" + std::to_string(stopAfter));
    }
    std::vector<char*> envp;
    for (std::string& variable : env) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

int Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

bool Succeeded(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs the write to its end; its wall time in microseconds, -1 when it failed.
long RunToEnd(const std::vector<std::string>& args) {
    const Clock::time_point start = Clock::now();
    const int status = Wait(Spawn(args));
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    return Succeeded(status) ? static_cast<long>(took.count()) : -1;
}

void CopyFolder(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

std::unique_ptr<DataStore> OpenBank(const std::string& folder) {
    auto store = DataStore::Open(folder + "/" + kBankFile);
    if (!store) {
        ADD_FAILURE() << folder << ": " << store.error().detail;
        return nullptr;
    }
    return std::move(*store);
}

bool Execute(const std::string& folder, const std::string& sql) {
    auto store = OpenBank(folder);
    return store && store->Execute(sql);
}

// Every row of the query, one line a row, tab between values.
std::string Rows(DataStore& store, const std::string& query) {
    auto rows = store.Query(query);
    if (!rows) {
        ADD_FAILURE() << query << ": " << store.LastError();
        return "unreadable: " + store.LastError();
    }
    std::string text;
    for (; !rows->AtEnd(); rows->Next()) {
        for (int c = 0; c < rows->ColumnCount(); ++c) {
            text += rows->TextAt(c) + '\t';
        }
        text += '\n';
    }
    return text;
}

// The "name" column of the query's rows.
std::vector<std::string> Names(DataStore& store, const std::string& query) {
    std::vector<std::string> values;
    auto rows = store.Query(query);
    EXPECT_TRUE(rows) << query << ": " << store.LastError();
    for (; rows && !rows->AtEnd(); rows->Next()) {
        values.push_back(rows->Text("name"));
    }
    return values;
}

// What a write may change, by part (a table, the schema, the bank check's
// findings), so that a failure names the parts that differ: every row of
// every table in every column, each value quoted so that NULL, a number and
// its text differ.
using FileState = std::map<std::string, std::string>;

FileState StateOf(const std::string& folder, DataStore& store) {
    FileState state;
    state["(schema)"] =
        Rows(store, "select type, name, sql from sqlite_master order by type, name") +
        Rows(store, "pragma user_version");
    for (const std::string& table : Names(store,
                                          "select name from sqlite_master where type='table' and "
                                          "substr(name, 1, 7)<>'sqlite_' order by name")) {
        std::string columns;
        for (const std::string& column : Names(store, "pragma table_info(" + table + ")")) {
            columns += (columns.empty() ? "quote([" : ", quote([") + column + "])";
        }
        state[table] = Rows(store, "select " + columns + " from [" + table + "] order by rowid");
    }
    std::string& problems = state["(bank check)"];
    for (const std::string& problem : CheckBank(store, folder)) {
        problems += problem + '\n';
    }
    return state;
}

// The parts in which two states differ, for a failure's message.
std::string Differing(const FileState& state, const FileState& other) {
    std::string parts;
    for (const auto& [part, rows] : state) {
        const auto found = other.find(part);
        if (found == other.end() || found->second != rows) {
            parts += " " + part;
        }
    }
    for (const auto& [part, rows] : other) {
        parts += state.count(part) == 0 ? " " + part : "";
    }
    return parts;
}

struct Write {
    std::string name;
    std::string source;              // the bank folder each trial starts from
    std::vector<std::string> args;   // with "@" for the trial's data file
    std::vector<std::string> pages;  // files, relative to the folder, the write rewrites
};

std::vector<std::string> ArgsFor(const Write& write, const std::string& folder) {
    std::vector<std::string> args = write.args;
    std::replace(args.begin(), args.end(), std::string("@"), folder + "/" + kBankFile);
    return args;
}

std::vector<std::string> PagesOf(const Write& write, const std::string& folder) {
    std::vector<std::string> pages;
    for (const std::string& page : write.pages) {
        pages.push_back(testing::ReadFileBytes(folder + "/" + page));
    }
    return pages;
}

int LeftoverCopies(const std::string& folder) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::path extension = entry.path().extension();
        count += extension == ".new" || extension == ".part" ? 1 : 0;
    }
    return count;
}

// What a folder holds before the write and after a whole run of it.
struct Outcome {
    FileState state;
    std::vector<std::string> pages;
};

// The demo bank; a practice bank: the demo bank with generated papers and
// exam records on them and on a classic paper, and the knowledge weights
// cleared so that the analysis has something to write; and the demo bank
// beside the practice bank's pages, to import the practice bank into.
class KillTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new TempDir;
        fs::create_directory(Folder("demo"));
        const Status built = BuildBank(SourceFolder() + "/resources/demo",
                                       Folder("demo") + "/" + kBankFile, ProgramFolder());
        ASSERT_TRUE(built) << built.error().detail;
        CopyFolder(Folder("demo"), Folder("practice"));
        for (int p = 1; p <= kGeneratedPapers; ++p) {
            ASSERT_GE(RunToEnd(Generate(Folder("practice") + "/" + kBankFile,
                                        "练习" + std::to_string(p))),
                      0);
        }
        auto store = OpenBank(Folder("practice"));
        ASSERT_NE(store, nullptr);
        auto papers = store->Query("select ID from Paper where SuperiorID=0 order by ID");
        ASSERT_TRUE(papers);
        for (; !papers->AtEnd(); papers->Next()) {
            papers_.push_back(papers->Int("ID"));
        }
        papers.reset();
        store.reset();
        ASSERT_GT(papers_.size(), kGeneratedPapers);
        int minute = 0;
        for (int paper :
             {papers_.front(), papers_[papers_.size() - 1], papers_[papers_.size() - 2]}) {
            ASSERT_GE(RunToEnd(StoreExam(Folder("practice") + "/" + kBankFile, paper,
                                         "2026-03-13 20:0" + std::to_string(minute++) + ":00")),
                      0);
        }
        ASSERT_TRUE(Execute(Folder("practice"), "update Knowledge set Weight=-1"));
        // A teacher's file imported into the demo bank, and the same file
        // edited (a key changed, a row gone, a row added) to import again.
        fs::create_directory(Folder("edited"));
        testing::WriteFileBytes(Folder("题库.csv"), std::string(kQuestionFile) + kLastRow);
        testing::WriteFileBytes(Folder("edited") + "/题库.csv", kEditedFile);
        CopyFolder(Folder("demo"), Folder("imported"));
        ASSERT_GE(
            RunToEnd(ImportQuestions(Folder("imported") + "/" + kBankFile, Folder("题库.csv"))), 0);
        // An upgrade: the new data file among the pages of the earlier one.
        CopyFolder(Folder("practice"), Folder("upgrade"));
        fs::copy_file(Folder("demo") + "/" + kBankFile, Folder("upgrade") + "/" + kBankFile,
                      fs::copy_options::overwrite_existing);
    }
    static void TearDownTestSuite() {
        delete root_;
        root_ = nullptr;
    }

    static std::string Folder(const std::string& name) { return root_->File(name); }

    static std::vector<std::string> Generate(const std::string& file, const std::string& title) {
        return {
            QUILLORY_TOOL, "generate", file,    "--template",         "401000", "--title", title,
            "--seed-time", "1",        "--now", "2026-03-14 09:00:00"};
    }

    static std::vector<std::string> ImportQuestions(const std::string& file,
                                                    const std::string& questions) {
        return {QUILLORY_TOOL, "import-questions", file, questions};
    }

    static std::vector<std::string> StoreExam(const std::string& file, int paper,
                                              const std::string& when) {
        return {KILL_WRITER, "store-exam", file, std::to_string(paper), when};
    }

    // The folder as it was and after the write left to run, each time on a
    // fresh copy of its bank; a run that fails, or one that leaves other rows
    // than the first, stops the test. The wall time of the longest run.
    long Outcomes(const Write& write, const std::string& trial, Outcome& before, Outcome& after) {
        {
            auto store = OpenBank(write.source);
            before = {store ? StateOf(write.source, *store) : FileState{},
                      PagesOf(write, write.source)};
        }
        long duration = 0;
        for (int run = 0; run < 3; ++run) {
            CopyFolder(write.source, trial);
            const long took = RunToEnd(ArgsFor(write, trial));
            EXPECT_GE(took, 0) << write.name << " failed when left to run";
            duration = std::max(duration, took);
            auto store = OpenBank(trial);
            if (took < 0 || store == nullptr) {
                return -1;
            }
            const Outcome whole = {StateOf(trial, *store), PagesOf(write, trial)};
            if (run > 0 && whole.state != after.state) {
                ADD_FAILURE() << write.name << " left other rows in run " << run
                              << ", in:" << Differing(whole.state, after.state);
                return -1;
            }
            after = whole;
        }
        EXPECT_TRUE(before.state != after.state) << write.name << " changes nothing";
        return before.state == after.state ? -1 : duration;
    }

    // What a trial left: a file that opens and passes the integrity check,
    // and pages each old or new whole. Its rows, or nothing when it does not
    // open.
    std::optional<FileState> Left(const Write& write, const std::string& trial,
                                  const Outcome& before, const Outcome& after,
                                  const std::string& where) {
        auto store = OpenBank(trial);
        if (store == nullptr) {
            ADD_FAILURE() << where << ": the data file does not open";
            return std::nullopt;
        }
        EXPECT_EQ(Rows(*store, "pragma integrity_check"), "ok\t\n") << where;
        // A page is rewritten whole or not at all, apart from the rows.
        const std::vector<std::string> pages = PagesOf(write, trial);
        for (size_t p = 0; p < pages.size(); ++p) {
            EXPECT_TRUE(pages[p] == before.pages[p] || pages[p] == after.pages[p])
                << where << ": " << write.pages[p] << " is torn";
        }
        return StateOf(trial, *store);
    }

    // Stops the write by the store's hook after its 1st, 2nd, 4th, ...
    // statement, until a run gets to its end. A stop before the end must
    // leave the rows of before, which proves every statement up to it was
    // inside the write's one transaction; and the first stop must come.
    void StopInside(const Write& write, const std::string& trial, const Outcome& before,
                    const Outcome& after) {
        int stops = 0;
        long statements = 1;
        for (;; statements *= 2) {
            CopyFolder(write.source, trial);
            const int status = Wait(Spawn(ArgsFor(write, trial), statements));
            const std::string where =
                write.name + ", stopped after statement " + std::to_string(statements);
            const bool stopped = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
            ASSERT_TRUE(stopped || Succeeded(status)) << where << ": status " << status;
            const std::optional<FileState> state = Left(write, trial, before, after, where);
            ASSERT_TRUE(state) << where;
            if (!stopped) {
                EXPECT_TRUE(*state == after.state)
                    << where << ", differs in:" << Differing(*state, after.state);
                break;
            }
            EXPECT_TRUE(*state == before.state)
                << where << ": part of the write, in:" << Differing(*state, before.state);
            ++stops;
        }
        EXPECT_GT(stops, 0) << write.name << " runs no statement to stop after";
        std::printf("%-14s stopped %d times, the last after statement %ld\n", write.name.c_str(),
                    stops, statements / 2);
    }

    // Kills the write at random moments, each time on a fresh copy of its
    // bank, and checks what it left.
    void KillAtRandom(const Write& write, const std::string& trial, const Outcome& before,
                      const Outcome& after, long duration) {
        const int trials = EnvInt("QUILLORY_KILL_TRIALS", 10);
        const char* seedText = std::getenv("QUILLORY_KILL_SEED");
        const unsigned seed = seedText != nullptr && *seedText != '\0'
                                  ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                  : std::random_device{}();
        std::mt19937 random(seed);
        std::uniform_int_distribution<long> moment(0, duration);
        int killed = 0, killedAfterWrite = 0, leftovers = 0;
        for (int t = 0; t < trials; ++t) {
            CopyFolder(write.source, trial);
            const long delay = moment(random);
            const pid_t child = Spawn(ArgsFor(write, trial));
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            kill(child, SIGKILL);
            const int status = Wait(child);
            const bool wasKilled = WIFSIGNALED(status);
            const std::string where = write.name + ", seed " + std::to_string(seed) + ", trial " +
                                      std::to_string(t) + ", " + std::to_string(delay) + " µs";
            if (!wasKilled) {
                ASSERT_TRUE(Succeeded(status)) << where;
            }
            const std::optional<FileState> state = Left(write, trial, before, after, where);
            ASSERT_TRUE(state) << where;
            if (wasKilled) {
                EXPECT_TRUE(*state == before.state || *state == after.state)
                    << where << ": part of the write; differs from before in:"
                    << Differing(*state, before.state)
                    << "; from after in:" << Differing(*state, after.state);
            } else {
                EXPECT_TRUE(*state == after.state)
                    << where << ", differs in:" << Differing(*state, after.state);
            }
            killed += wasKilled ? 1 : 0;
            killedAfterWrite += wasKilled && *state == after.state ? 1 : 0;
            leftovers += LeftoverCopies(trial) > 0 ? 1 : 0;
        }
        std::printf(
            "%-14s %d trials over %ld µs (seed %u): %d killed, %d of them after the write; "
            "%d finished; %d left staged copies (.new, .part)\n",
            write.name.c_str(), trials, duration, seed, killed, killedAfterWrite, trials - killed,
            leftovers);
    }

    void Kill(const Write& write) {
        const std::string trial = Folder("trial");
        Outcome before, after;
        const long duration = Outcomes(write, trial, before, after);
        ASSERT_GE(duration, 0);
        StopInside(write, trial, before, after);
        KillAtRandom(write, trial, before, after, duration);
    }

    static TempDir* root_;
    static std::vector<int> papers_;
    static const char* const kQuestionFile;
    static const char* const kLastRow;
    static const char* const kEditedFile;  // whole papers of the practice bank, generated ones last
};

TempDir* KillTest::root_ = nullptr;

const char* const KillTest::kQuestionFile =
    "序号,题型,题干,选项A,选项B,答案,知识点\n"
    "1,单选题,一加一等于几,1,2,B,数学/算术\n"
    "2,判断题,地球是圆的,,,对,地理/地球\n";
const char* const KillTest::kLastRow = "3,填空题,二加二等于___,,,4,数学/算术\n";
const char* const KillTest::kEditedFile =
    "序号,题型,题干,选项A,选项B,答案,知识点\n"
    "1,单选题,一加一等于几,2,1,A,数学/算术\n"
    "2,判断题,地球是圆的,,,对,地理/地球\n"
    "4,简答题,说说地球的形状,,,近似球体,地理/地球/形状\n";
std::vector<int> KillTest::papers_;

TEST_F(KillTest, StoringAnExamRecord) {
    Kill({"store-exam",
          Folder("practice"),
          StoreExam("@", papers_.front(), "2026-03-14 10:00:00"),
          {}});
}

TEST_F(KillTest, GeneratingAPaper) {
    Kill({"generate", Folder("practice"), Generate("@", "新练习"), {}});
}

TEST_F(KillTest, DeletingAPaper) {
    Kill({"delete-paper",
          Folder("practice"),
          {KILL_WRITER, "delete-paper", "@", std::to_string(papers_.back())},
          {}});
}

TEST_F(KillTest, DeletingHistoryRecords) {
    Kill({"delete-history", Folder("practice"), {KILL_WRITER, "delete-history", "@"}, {}});
}

TEST_F(KillTest, WritingKnowledgeWeights) {
    Kill({"analyze",
          Folder("practice"),
          {QUILLORY_TOOL, "analyze", "@"},
          {"Knowledge/ReferenceTotal.html"}});
}

TEST_F(KillTest, ImportingAnEarlierFile) {
    Kill({"import",
          Folder("upgrade"),
          {QUILLORY_TOOL, "import", "@", Folder("practice") + "/" + kBankFile},
          {}});
}

TEST_F(KillTest, ImportingQuestionsAgain) {
    Kill({"import-questions",
          Folder("imported"),
          ImportQuestions("@", Folder("edited") + "/题库.csv"),
          {}});
}

}  // namespace
}  // namespace quillory
