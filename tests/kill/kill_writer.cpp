// One write of the program, run to its end in its own process so that the
// kill test can stop it at any moment. Each write goes through the core
// function the program's window calls.
//
//   kill_writer store-exam DATAFILE NODEID WHEN  the exam on a paper node, stored
//                                                unanswered at WHEN ("YYYY-MM-DD HH:MM:SS")
//   kill_writer delete-paper DATAFILE PAPERID     a practice paper with its history
//   kill_writer delete-history DATAFILE           every exam record
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/analysis/history_tree.h"
#include "core/host/host.h"
#include "core/practice/exam_record.h"
#include "core/practice/exam_session.h"
#include "core/practice/paper_tree.h"
#include "core/store/data_store.h"
#include "core/store/date_time.h"
#include "support/memory_settings.h"
#include "support/pinned_clock.h"
#include "support/recording_host.h"

namespace quillory {
namespace {

bool StoreExam(DataStore& store, Settings& settings, int nodeId, const std::string& when) {
    DateTime now;
    if (!ParseDateTime(when, now)) {
        std::fprintf(stderr, "kill_writer: not a time: \"%s\"\n", when.c_str());
        return false;
    }
    testing::RecordingHost host;
    // The time is given, so that a run stopped after its commit leaves the
    // rows of a whole run, to the second.
    testing::PinnedClock clock(now);
    ExamSession session(host, clock);
    // Idle: the exam's nodes and items only, no progress kept.
    session.Start(ExamState::Idle, store, nodeId);
    const StoredRecord stored =
        StoreExamRecord(store, settings, clock.Now(), session.Nodes(), session.Items());
    if (!stored.stored) {
        std::fprintf(stderr, "kill_writer: %s\n", stored.error.c_str());
    }
    return stored.stored && !session.Items().empty();
}

bool DeletePaper(DataStore& store, Settings& settings, const std::string& dataFolder, int paperId) {
    const auto nodes = LoadPaperTreeRows(store, -1, PaperFilter::Practice);
    return nodes && DeletePaperTree(store, settings, dataFolder, *nodes, paperId).ok();
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
    return DeleteHistoryItems(store, settings, nodes, kHistoryRootId).ok();
}

int Run(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: kill_writer store-exam|delete-paper|delete-history DATAFILE [ID] "
                     "[WHEN]\n");
        return 2;
    }
    const std::string write = argv[1];
    const std::string file = argv[2];
    const int id = argc > 3 ? std::atoi(argv[3]) : 0;
    const std::string when = argc > 4 ? argv[4] : "";
    Result<std::unique_ptr<DataStore>> opened = DataStore::Open(file);
    if (!opened) {
        std::fprintf(stderr, "kill_writer: %s: %s\n", file.c_str(), opened.error().detail.c_str());
        return 1;
    }
    const std::unique_ptr<DataStore> store = std::move(*opened);
    const std::string dataFolder =
        std::filesystem::absolute(file).lexically_normal().parent_path().string();
    testing::MemorySettings settings;
    bool done = false;
    if (write == "store-exam") {
        done = StoreExam(*store, settings, id, when);
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
