// Any file as the source page of a question and of a paper, composed and
// written beside it in a data folder made once.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "core/host/host.h"
#include "core/pages/page_context.h"
#include "core/pages/paper_page.h"
#include "core/pages/question_page.h"
#include "core/store/data_store.h"

namespace {

class QuietHost : public quillory::Host {
public:
    void Message(const std::string&, quillory::MessageIcon) override {}
    quillory::Answer Ask(const std::string&, quillory::Buttons, quillory::MessageIcon) override {
        return quillory::Answer::Yes;
    }
    void Navigate(const std::string&) override {}
    void AddGeneratedFile(const std::string&) override {}
};

struct Folder {
    std::string path;
    std::unique_ptr<quillory::DataStore> store;
    QuietHost host;

    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillory-fuzz-XXXXXX");
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        path = pattern;
        std::filesystem::create_directories(path + "/Question");
        auto made = quillory::DataStore::Create(path + "/bank.qly");
        if (!made) {
            std::abort();
        }
        store = std::move(*made);
        if (!store->Execute("insert into Knowledge(ID, Title, Url) "
                            "values(300001, '黄河', 'Knowledge/1.html')") ||
            !store->Execute("insert into Question(ID, Url, AnswerUrl, Knowledge) "
                            "values(200001, 'Question/q.html', 'Question/q.html', '300001')") ||
            !store->Execute("insert into Paper(ID, Title, Url) "
                            "values(100001, '第一章 练习', 'Question/q.html')")) {
            std::abort();
        }
    }
    ~Folder() {
        store.reset();
        std::filesystem::remove_all(path);
    }
};

}  // namespace

// The first line is the label a paper gives the question, the rest the page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillory;
    static Folder folder;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = std::min(input.find('\n'), input.size());
    const std::string label(input.substr(0, lineEnd));
    {
        std::ofstream out(folder.path + "/Question/q.html", std::ios::binary | std::ios::trunc);
        out << input.substr(lineEnd);
    }
    PageContext context{*folder.store, folder.path, folder.host};
    ShowQuestionPage(context, 200001, label, false, true);
    ShowQuestionPage(context, 200001, label, true, true);
    ShowPaperPage(context, 100001);
    return 0;
}
