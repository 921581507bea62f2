// Opening a large data file and reading the whole tables the modules read
// when they first fill their trees.
#include <benchmark/benchmark.h>

#include "core/practice/paper_tree.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"
#include "synthetic_bank.h"

namespace quillory::bench {
namespace {

void OpenDataFile(benchmark::State& state) {
    const std::string& path = SharedSyntheticBank();
    for (auto _ : state) {
        auto store = DataStore::Open(path);
        benchmark::DoNotOptimize(store.ok());
    }
}
BENCHMARK(OpenDataFile)->Unit(benchmark::kMillisecond);

// The classic papers tree as its frame fills it: the Paper table read and
// put in tree order.
void LoadPaperTree(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    for (auto _ : state) {
        const auto nodes = LoadPaperTreeRows(*store, -1, PaperFilter::Classic);
        benchmark::DoNotOptimize(nodes->Size());
    }
}
BENCHMARK(LoadPaperTree)->Unit(benchmark::kMillisecond);

template <auto Read>
void ReadWholeTable(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    for (auto _ : state) {
        const auto rows = Read(*store);
        benchmark::DoNotOptimize(rows->size());
    }
}
BENCHMARK(ReadWholeTable<ReadPaperRows>)->Name("ReadPaperRows")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadWholeTable<ReadQuestionRows>)
    ->Name("ReadQuestionRows")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReadWholeTable<ReadKnowledgeRows>)
    ->Name("ReadKnowledgeRows")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReadWholeTable<ReadHistoryRows>)->Name("ReadHistoryRows")->Unit(benchmark::kMillisecond);

void ReadHistoryForOneKnowledgePoint(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    for (auto _ : state) {
        int count = 0;
        for (auto rows = store->Query("select * from History where KnowledgeID like '*300012*' "
                                      "order by ID");
             rows && !rows->AtEnd(); rows->Next()) {
            ++count;
        }
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(ReadHistoryForOneKnowledgePoint)->Unit(benchmark::kMillisecond);

void OrderKnowledgeByTitle(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    for (auto _ : state) {
        int count = 0;
        for (auto rows = store->Query("select ID from Knowledge order by Title");
             rows && !rows->AtEnd(); rows->Next()) {
            ++count;
        }
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(OrderKnowledgeByTitle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillory::bench
