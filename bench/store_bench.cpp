// Opening a large data file and reading the whole tables the modules read
// when they first fill their trees.
#include <benchmark/benchmark.h>

#include "core/common/paper_node_list.h"
#include "core/store/data_store.h"
#include "synthetic_bank.h"

namespace quillory::bench {
namespace {

void OpenDataFile(benchmark::State& state) {
    const std::string& path = SharedSyntheticBank();
    for (auto _ : state) {
        auto store = DataStore::Open(path);
        benchmark::DoNotOptimize(store.get());
    }
}
BENCHMARK(OpenDataFile)->Unit(benchmark::kMillisecond);

void ReadAndOrderPaperTree(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank());
    for (auto _ : state) {
        PaperNodeList nodes;
        for (auto rows = store->Query("select * from Paper"); rows && !rows->AtEnd();
             rows->Next()) {
            nodes.Add({rows->Int("ID"), rows->Int("SuperiorID"), rows->Text("Title"),
                       rows->Int("QuestionID")});
        }
        nodes.Order();
        benchmark::DoNotOptimize(nodes.Size());
    }
}
BENCHMARK(ReadAndOrderPaperTree)->Unit(benchmark::kMillisecond);

void ReadHistoryForOneKnowledgePoint(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank());
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
    auto store = DataStore::Open(SharedSyntheticBank());
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
