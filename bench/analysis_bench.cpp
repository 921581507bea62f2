// The analysis pages on a large bank, each against one read of the tables
// it uses: the summary (Knowledge, History), the classic analysis
// (Knowledge, QuestionType, Paper, Question, and its weights written back)
// and the mistake notebook (History, Question, Knowledge).
// The ratios are printed at the end of the run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "core/analysis/classic_analysis.h"
#include "core/analysis/history_summary.h"
#include "core/analysis/mistake_notebook.h"
#include "core/host/host.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"
#include "synthetic_bank.h"

namespace quillory::bench {
namespace {

class QuietHost final : public Host {
public:
    void Message(const std::string& text, MessageIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Cancel; }
    void Navigate(const std::string&) override {}
    void AddGeneratedFile(const std::string&) override {}
};

// Seconds per iteration of each benchmark, kept for the ratios.
struct Timings {
    std::map<std::string, double> seconds;

    ~Timings() {
        const auto ratio = [&](const char* name, const char* baseline) {
            const auto a = seconds.find(name);
            const auto b = seconds.find(baseline);
            if (a != seconds.end() && b != seconds.end() && b->second > 0) {
                std::printf("%s ratio: %.2f\n", name, a->second / b->second);
            }
        };
        ratio("summary", "summary tables");
        ratio("classic", "classic tables");
        ratio("mistakes", "mistakes tables");
    }
};
Timings timings;

template <typename Body>
void Timed(benchmark::State& state, const char* name, Body body) {
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    timings.seconds[name] = total / static_cast<double>(state.iterations());
}

struct Bank {
    std::unique_ptr<DataStore> store = DataStore::Open(SharedSyntheticBank()).value();
    std::string folder = std::filesystem::path(SharedSyntheticBank()).parent_path().string();
    QuietHost host;
    PageContext context{*store, folder, host};

    Bank() { std::filesystem::create_directories(folder + "/Knowledge"); }
};

void SummaryTables(benchmark::State& state) {
    Bank bank;
    Timed(state, "summary tables", [&] {
        benchmark::DoNotOptimize(ReadKnowledgeRows(*bank.store)->size());
        benchmark::DoNotOptimize(ReadHistoryRows(*bank.store)->size());
    });
}
BENCHMARK(SummaryTables)->Unit(benchmark::kMillisecond);

void SummaryRebuild(benchmark::State& state) {
    Bank bank;
    DateTime now;
    ParseDateTime("2026-12-31 12:00:00", now);
    Timed(state, "summary", [&] {
        // No settings: built every time.
        if (!ShowHistorySummary(bank.context, nullptr, now, {})) {
            state.SkipWithError("the summary was not built");
        }
    });
}
BENCHMARK(SummaryRebuild)->Unit(benchmark::kMillisecond);

void ClassicTables(benchmark::State& state) {
    Bank bank;
    Timed(state, "classic tables", [&] {
        benchmark::DoNotOptimize(ReadKnowledgeRows(*bank.store)->size());
        benchmark::DoNotOptimize(ReadQuestionTypeRows(*bank.store)->size());
        benchmark::DoNotOptimize(ReadPaperRows(*bank.store)->size());
        benchmark::DoNotOptimize(ReadQuestionRows(*bank.store)->size());
    });
}
BENCHMARK(ClassicTables)->Unit(benchmark::kMillisecond);

void ClassicAnalysis(benchmark::State& state) {
    Bank bank;
    Timed(state, "classic", [&] {
        if (!BuildClassicAnalysis(bank.context, ClassicPageVariant::Command, {})) {
            state.SkipWithError("the classic analysis was not built");
        }
    });
}
BENCHMARK(ClassicAnalysis)->Unit(benchmark::kMillisecond);

void MistakesTables(benchmark::State& state) {
    Bank bank;
    Timed(state, "mistakes tables", [&] {
        benchmark::DoNotOptimize(ReadHistoryRows(*bank.store)->size());
        benchmark::DoNotOptimize(ReadQuestionRows(*bank.store)->size());
        benchmark::DoNotOptimize(ReadKnowledgeRows(*bank.store)->size());
    });
}
BENCHMARK(MistakesTables)->Unit(benchmark::kMillisecond);

void MistakeNotebook(benchmark::State& state) {
    Bank bank;
    Timed(state, "mistakes", [&] {
        const auto notebook = ReadMistakeNotebook(*bank.store, {0, 0, {2026, 12, 31, 12, 0, 0}});
        if (!notebook) {
            state.SkipWithError("the notebook was not read");
            return;
        }
        benchmark::DoNotOptimize(notebook->mistakes.size());
    });
}
BENCHMARK(MistakeNotebook)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillory::bench
