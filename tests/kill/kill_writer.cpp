// One write of the program, run to its end in its own process so that the
// kill test can stop it at any moment. Each write goes through the core
// function the program's window calls.
//
//   kill_writer store-exam DATAFILE NODEID    the exam on a paper node, stored unanswered
//   kill_writer delete-paper DATAFILE PAPERID  a practice paper with its history
//   kill_writer delete-history DATAFILE        every exam record
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "core/analysis/history_tree.h"
#include "core/practice/exam_record.h"
#include "core/practice/exam_session.h"
#include "core/practice/paper_tree.h"
#include "core/store/data_store.h"
#include "support/memory_settings.h"
#include "support/recording_host.h"

namespace quillory {
namespace {

class LocalClock final : public Clock {
public:
    DateTime Now() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     local.tm_sec};
    }
};

bool StoreExam(DataStore& store, Settings& settings, int nodeId) {
    testing::RecordingHost host;
    LocalClock clock;
    ExamSession session(host, clock);
    session.Start(store, nodeId);
    const StoredRecord stored =
        StoreExamRecord(store, settings, clock.Now(), session.Nodes(), session.Items());
    if (!stored.stored) {
        std::fprintf(stderr, "kill_writer: %s\n", stored.error.c_str());
    }
    return stored.stored && !session.Items().empty();
}

bool DeletePaper(DataStore& store, Settings& settings, const std::string& dataFolder, int paperId) {
    const auto nodes = LoadPaperTreeRows(store, -1, PaperFilter::Practice);
    return nodes && DeletePaperTree(store, settings, dataFolder, *nodes, paperId);
}

bool DeleteHistory(DataStore& store, Settings& settings) {
    const auto items = LoadHistoryTree(store);
    if (!items) {
        return false;
    }
    PaperNodeList nodes;
    for (const HistoryTreeItem& item : *items) {
        nodes.Add(item.node);
    }
    return DeleteHistoryItems(store, settings, nodes, kHistoryRootId);
}

int Run(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: kill_writer store-exam|delete-paper|delete-history DATAFILE [ID]\n");
        return 2;
    }
    const std::string write = argv[1];
    const std::string file = argv[2];
    const int id = argc > 3 ? std::atoi(argv[3]) : 0;
    std::string error;
    std::unique_ptr<DataStore> store = DataStore::Open(file, &error);
    if (!store) {
        std::fprintf(stderr, "kill_writer: %s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    const std::string dataFolder =
        std::filesystem::absolute(file).lexically_normal().parent_path().string();
    testing::MemorySettings settings;
    bool done = false;
    if (write == "store-exam") {
        done = StoreExam(*store, settings, id);
    } else if (write == "delete-paper") {
        done = DeletePaper(*store, settings, dataFolder, id);
    } else if (write == "delete-history") {
        done = DeleteHistory(*store, settings);
    } else {
        std::fprintf(stderr, "kill_writer: no write \"%s\"\n", write.c_str());
        return 2;
    }
    return done ? 0 : 1;
}

}  // namespace
}  // namespace quillory

int main(int argc, char** argv) {
    return quillory::Run(argc, argv);
}
