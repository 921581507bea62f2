// A 100-slot template paper generated with the adjustment on, for each
// period, against one read of the tables the selection uses (Question,
// Knowledge, History). The ratios are printed at the end of the run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "core/generation/paper_generation.h"
#include "core/host/host.h"
#include "core/host/no_progress.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"
#include "synthetic_bank.h"

namespace quillory::bench {
namespace {

class QuietHost final : public Host {
public:
    void Message(const std::string&, MessageIcon) override {}
    Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Cancel; }
    void Navigate(const std::string&) override {}
    void AddGeneratedFile(const std::string&) override {}
};

// Seconds per iteration: the tables' read, and the generation by period.
struct Timings {
    double tables = 0;
    std::map<int, double> generation;

    ~Timings() {
        for (const auto& [period, seconds] : generation) {
            if (tables > 0) {
                std::printf("generation ratio: %.2f\n", seconds / tables);
            }
        }
    }
};
Timings timings;

template <typename Body>
double Timed(benchmark::State& state, Body body) {
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return total / static_cast<double>(state.iterations());
}

void SelectionTables(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    timings.tables = Timed(state, [&] {
        benchmark::DoNotOptimize(ReadQuestionRows(*store)->size());
        benchmark::DoNotOptimize(ReadKnowledgeRows(*store)->size());
        benchmark::DoNotOptimize(ReadHistoryRows(*store)->size());
    });
}
BENCHMARK(SelectionTables)->Unit(benchmark::kMillisecond);

void TemplatePaper(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    QuietHost host;
    NoProgress progress;
    LegacyRandom random;
    GenerationContext context{*store,
                              std::filesystem::path(SharedSyntheticBank()).parent_path().string(),
                              host, progress, random};
    GenerationSettings settings;
    settings.adjust = true;
    settings.period = static_cast<int>(state.range(0));
    settings.seedTime = 1767225600;
    ParseDateTime("2026-12-31 12:00:00", settings.now);
    timings.generation[settings.period] = Timed(state, [&] {
        const Result<GeneratedPaper> paper =
            CreateTemplatePaper(context, {kFirstTemplateId, "模拟", settings, false});
        if (!paper || paper->rows.size() < 100) {
            state.SkipWithError("the paper was not generated");
        }
    });
}
BENCHMARK(TemplatePaper)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillory::bench
