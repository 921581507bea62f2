// The check every page view makes before it writes its page: whether the
// page would replace a file of the bank, on a large bank.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/store/data_store.h"
#include "synthetic_bank.h"

namespace quillory::bench {
namespace {

class SilentHost : public Host {
public:
    void Message(const std::string&, MessageIcon) override {}
    Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Yes; }
    void Navigate(const std::string&) override {}
    void AddGeneratedFile(const std::string&) override {}
};

void CheckAComposedPage(benchmark::State& state) {
    auto store = DataStore::Open(SharedSyntheticBank()).value();
    SilentHost host;
    PageContext context{*store, std::filesystem::path(SharedSyntheticBank()).parent_path().string(),
                        host};
    const std::string page = context.dataFolder + "/Question/200001.htm";
    for (auto _ : state) {
        benchmark::DoNotOptimize(MayWriteComposedFile(context, page));
    }
}
BENCHMARK(CheckAComposedPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillory::bench
