// Every write the program makes to a data file, stopped by SIGKILL at random
// moments: afterwards the file opens and passes the engine's integrity check,
// its rows and the bank check's findings are those of before the write or
// of after it whole, and a page it rewrites is the earlier one or the new
// one whole. QUILLORY_KILL_TRIALS sets the kills per write (scripts/kill-test.sh
// runs many), QUILLORY_KILL_SEED repeats a run.
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
#include <memory>
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
constexpr int kGeneratedPapers = 3;

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Runs the write to its end; its wall time in microseconds, -1 when it failed.
long RunToEnd(const std::vector<std::string>& args) {
    const Clock::time_point start = Clock::now();
    int status = 0;
    waitpid(Spawn(args), &status, 0);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? static_cast<long>(took.count()) : -1;
}

void CopyFolder(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

std::unique_ptr<DataStore> OpenBank(const std::string& folder) {
    std::string error;
    auto store = DataStore::Open(folder + "/" + kBankFile, &error);
    EXPECT_NE(store, nullptr) << folder << ": " << error;
    return store;
}

bool Execute(const std::string& folder, const std::string& sql) {
    auto store = OpenBank(folder);
    return store && store->Execute(sql);
}

// Every row of every query, one line a row, tab between values.
std::string Rows(DataStore& store, const std::vector<std::string>& queries) {
    std::string text;
    for (const std::string& query : queries) {
        auto rows = store.Query(query);
        if (!rows) {
            return "unreadable: " + store.LastError();
        }
        for (; !rows->AtEnd(); rows->Next()) {
            for (int c = 0; c < rows->ColumnCount(); ++c) {
                text += rows->TextAt(c) + '\t';
            }
            text += '\n';
        }
    }
    return text;
}

struct Write {
    std::string name;
    std::string source;              // the bank folder each trial starts from
    std::vector<std::string> args;   // with "@" for the trial's data file
    std::vector<std::string> state;  // queries of what the write changes
    std::vector<std::string> pages;  // files, relative to the folder, the write rewrites
};

std::vector<std::string> ArgsFor(const Write& write, const std::string& folder) {
    std::vector<std::string> args = write.args;
    std::replace(args.begin(), args.end(), std::string("@"), folder + "/" + kBankFile);
    return args;
}

// The rows the write changes and what the bank check finds.
std::string StateOf(const Write& write, const std::string& folder, DataStore& store) {
    std::string state = Rows(store, write.state);
    for (const std::string& problem : CheckBank(store, folder)) {
        state += problem + '\n';
    }
    return state;
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

// The demo bank; a practice bank: the demo bank with generated papers and
// exam records on them and on a classic paper, and the knowledge weights
// cleared so that the analysis has something to write; and the demo bank
// beside the practice bank's pages, to import the practice bank into.
class KillTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new TempDir;
        fs::create_directory(Folder("demo"));
        std::string error;
        ASSERT_TRUE(BuildBank(SourceFolder() + "/resources/demo", Folder("demo") + "/" + kBankFile,
                              ProgramFolder(), &error))
            << error;
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
        for (int paper :
             {papers_.front(), papers_[papers_.size() - 1], papers_[papers_.size() - 2]}) {
            ASSERT_GE(RunToEnd({KILL_WRITER, "store-exam", Folder("practice") + "/" + kBankFile,
                                std::to_string(paper)}),
                      0);
        }
        ASSERT_TRUE(Execute(Folder("practice"), "update Knowledge set Weight=-1"));
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

    // Kills the write at random moments, each time on a fresh copy of its
    // bank, and checks what it left.
    void Kill(Write write) {
        const int trials = EnvInt("QUILLORY_KILL_TRIALS", 10);
        const char* seedText = std::getenv("QUILLORY_KILL_SEED");
        const unsigned seed = seedText != nullptr && *seedText != '\0'
                                  ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                  : std::random_device{}();
        const std::string trial = Folder("trial");

        std::string before;
        {
            auto store = OpenBank(write.source);
            ASSERT_NE(store, nullptr);
            before = StateOf(write, write.source, *store);
        }
        const std::vector<std::string> pagesBefore = PagesOf(write, write.source);
        // The whole write, a few times: what it leaves, and how long it takes.
        std::string after;
        std::vector<std::string> pagesAfter;
        long duration = 0;
        for (int run = 0; run < 3; ++run) {
            CopyFolder(write.source, trial);
            const long took = RunToEnd(ArgsFor(write, trial));
            ASSERT_GE(took, 0) << write.name << " failed when left to run";
            duration = std::max(duration, took);
            auto store = OpenBank(trial);
            ASSERT_NE(store, nullptr);
            after = StateOf(write, trial, *store);
            pagesAfter = PagesOf(write, trial);
        }
        ASSERT_NE(before, after) << write.name << " changes nothing";

        std::mt19937 random(seed);
        std::uniform_int_distribution<long> moment(0, duration);
        int killed = 0, killedAfterWrite = 0, leftovers = 0;
        for (int t = 0; t < trials; ++t) {
            CopyFolder(write.source, trial);
            const long delay = moment(random);
            const pid_t child = Spawn(ArgsFor(write, trial));
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            const bool wasKilled = WIFSIGNALED(status);
            const std::string where = write.name + ", seed " + std::to_string(seed) + ", trial " +
                                      std::to_string(t) + ", " + std::to_string(delay) + " µs";
            if (!wasKilled) {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << where;
            }
            auto store = OpenBank(trial);
            ASSERT_NE(store, nullptr) << where;
            EXPECT_EQ(Rows(*store, {"pragma integrity_check"}), "ok\t\n") << where;
            const std::string state = StateOf(write, trial, *store);
            if (wasKilled) {
                EXPECT_TRUE(state == before || state == after) << where << ": part of the write\n"
                                                               << state;
            } else {
                EXPECT_EQ(state, after) << where;
            }
            // A page is rewritten whole or not at all, apart from the rows.
            const std::vector<std::string> pages = PagesOf(write, trial);
            for (size_t p = 0; p < pages.size(); ++p) {
                EXPECT_TRUE(pages[p] == pagesBefore[p] || pages[p] == pagesAfter[p])
                    << where << ": " << write.pages[p] << " is torn";
            }
            killed += wasKilled ? 1 : 0;
            killedAfterWrite += wasKilled && state == after && state != before ? 1 : 0;
            leftovers += LeftoverCopies(trial) > 0 ? 1 : 0;
        }
        std::printf(
            "%-14s %d trials over %ld µs (seed %u): %d killed, %d of them after the write; "
            "%d finished; %d left staged copies (.new, .part)\n",
            write.name.c_str(), trials, duration, seed, killed, killedAfterWrite, trials - killed,
            leftovers);
    }

    static TempDir* root_;
    static std::vector<int> papers_;  // whole papers of the practice bank, generated ones last
};

TempDir* KillTest::root_ = nullptr;
std::vector<int> KillTest::papers_;

const std::vector<std::string> kCounts = {"select count(*) from Paper",
                                          "select count(*) from History"};

TEST_F(KillTest, StoringAnExamRecord) {
    Kill({"store-exam",
          Folder("practice"),
          {KILL_WRITER, "store-exam", "@", std::to_string(papers_.front())},
          kCounts,
          {}});
}

TEST_F(KillTest, GeneratingAPaper) {
    Kill({"generate", Folder("practice"), Generate("@", "新练习"), kCounts, {}});
}

TEST_F(KillTest, DeletingAPaper) {
    Kill({"delete-paper",
          Folder("practice"),
          {KILL_WRITER, "delete-paper", "@", std::to_string(papers_.back())},
          kCounts,
          {}});
}

TEST_F(KillTest, DeletingHistoryRecords) {
    Kill({"delete-history", Folder("practice"), {KILL_WRITER, "delete-history", "@"}, kCounts, {}});
}

TEST_F(KillTest, WritingKnowledgeWeights) {
    Kill({"analyze",
          Folder("practice"),
          {QUILLORY_TOOL, "analyze", "@"},
          {"select ID, Weight from Knowledge order by ID"},
          {"Knowledge/ReferenceTotal.html"}});
}

TEST_F(KillTest, ImportingAnEarlierFile) {
    Kill({"import",
          Folder("upgrade"),
          {QUILLORY_TOOL, "import", "@", Folder("practice") + "/" + kBankFile},
          kCounts,
          {}});
}

}  // namespace
}  // namespace quillory
