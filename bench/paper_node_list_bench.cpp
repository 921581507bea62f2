// Ordering large node lists in memory, without the database around them.
#include <benchmark/benchmark.h>

#include "core/common/legacy_random.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"

namespace quillory::bench {
namespace {

// count nodes under 100 papers, each hanging under an earlier node, with
// Chinese titles that repeat so equal titles occur in every group.
PaperNodeList RandomTree(int count) {
    LegacyRandom random(1);
    PaperNodeList list;
    for (int i = 1; i <= count; ++i) {
        const int parent =
            i <= 100 ? 0 : 550000 + 1 + (random.Next() * 32768 + random.Next()) % (i - 1);
        list.Add({550000 + i, parent, Format("第%d题 数学", random.Next() % 500)});
    }
    return list;
}

void OrderRandomTree(benchmark::State& state) {
    const PaperNodeList source = RandomTree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        PaperNodeList list = source;
        state.ResumeTiming();
        list.Order();
        benchmark::DoNotOptimize(list.Size());
    }
}
BENCHMARK(OrderRandomTree)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void OrderDeepChain(benchmark::State& state) {
    PaperNodeList source;
    for (int id = 100000; id >= 1; --id) {
        source.Add({id, id - 1, "节"});
    }
    for (auto _ : state) {
        state.PauseTiming();
        PaperNodeList list = source;
        state.ResumeTiming();
        list.Order();
        benchmark::DoNotOptimize(list.Size());
    }
}
BENCHMARK(OrderDeepChain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillory::bench
