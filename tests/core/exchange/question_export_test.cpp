// Questions of the demo bank exported and read back: through the import
// readers into a fresh bank (same questions, same judgements), into the same
// bank (nothing changes; an edited cell updates in place), and into GIFT and
// Moodle XML; and the reading of pages our import did not write.
#include "core/exchange/question_export.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "core/bank/bank_builder.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/exchange/bank_writer.h"
#include "core/exchange/import_file.h"
#include "core/exchange/page_parts.h"
#include "core/exchange/question_sheet.h"
#include "core/host/no_progress.h"
#include "core/practice/answer_form.h"
#include "core/store/data_store.h"
#include "exchange_files.h"
#include "support/foreign_bank.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr int kFirstPaper = 101000;  // 中国地理 第1套: sections of several kinds

class QuestionExportTest : public testing::DemoBankTest {
protected:
    ExportReport Export(const QuestionSelection& selection, const std::string& name) {
        Result<ExportReport> report = ExportQuestions(*store_, folder_, selection, dir_.File(name));
        EXPECT_TRUE(report.ok()) << report.error().detail;
        return report.ok() ? *report : ExportReport{};
    }

    std::vector<ImportedQuestion> Read(DataStore& store, const std::string& folder,
                                       const QuestionSelection& selection) {
        Result<ImportReading> read = ReadBankQuestions(store, folder, selection);
        EXPECT_TRUE(read.ok()) << read.error().detail;
        return read.ok() ? read->questions : std::vector<ImportedQuestion>{};
    }

    // The import's lines; the plan written unless it is refused.
    std::vector<std::string> Import(DataStore& store, const std::string& folder,
                                    const std::string& file, bool skipBad = false) {
        std::vector<ImportFile> files{ReadImportFile(file, "")};
        Result<ImportPlan> plan = PlanImport(store, std::move(files), {0, skipBad});
        EXPECT_TRUE(plan.ok()) << plan.error().detail;
        if (!plan.ok()) {
            return {};
        }
        EXPECT_TRUE(skipBad || plan->problems.empty()) << ProblemLines(*plan).front();
        NoProgress progress;
        Result<std::vector<int>> written = WriteImport(store, folder, *plan, progress);
        EXPECT_TRUE(written.ok()) << written.error().detail;
        return ImportLines(*plan);
    }

    // Every row of the tables an import writes, and every file below the
    // bank's folder.
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> snapshot;
        for (const char* table :
             {"Paper", "Question", "QuestionType", "Knowledge", "ImportedSource"}) {
            auto rows = store_->Query(std::string("select * from ") + table);
            for (; rows && !rows->AtEnd(); rows->Next()) {
                std::string row;
                for (int c = 0; c < rows->ColumnCount(); ++c) {
                    row += rows->TextAt(c) + "|";
                }
                snapshot[std::string(table) + " " + rows->TextAt(0)] = row;
            }
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            if (entry.is_regular_file() && entry.path().filename() != "demo.qly") {
                snapshot[entry.path().string()] = ReadFileBytes(entry.path().string());
            }
        }
        return snapshot;
    }
};

// The cells a sheet holds of each question: what must survive a round trip.
std::vector<std::vector<std::string>> Cells(const std::vector<ImportedQuestion>& questions) {
    std::vector<std::vector<std::string>> cells;
    for (const ImportedQuestion& q : questions) {
        cells.push_back(QuestionCells(q));
        cells.back().push_back(q.section);
    }
    return cells;
}

// A learner's answer made by a rule, for every control that takes one.
std::string Answer(const std::string& description, const std::string& rule) {
    AnswerForm form = ParseAnswerForm(description, "");
    for (AnswerGroup& group : form.groups) {
        bool first = true;
        for (AnswerControl& control : group.controls) {
            const ControlKind kind = KindOf(control);
            if (kind == ControlKind::Label) {
                continue;
            }
            if (rule == "key") {
                control.learnerValue = control.correctValue;
            } else if (kind == ControlKind::Radio || kind == ControlKind::Check) {
                control.learnerValue = first ? "1" : "0";
            } else {
                control.learnerValue = "北京";
            }
            first = false;
        }
    }
    return ComposeAnswerText(form);
}

Judgement Judge(const std::string& description, const std::string& rule) {
    return JudgeAnswerForm(ParseAnswerForm(description, Answer(description, rule)), 10, true);
}

std::map<int, std::string> Forms(DataStore& store) {
    std::map<int, std::string> forms;
    auto rows = store.Query("select ID, Answer from Question order by ID");
    for (; rows && !rows->AtEnd(); rows->Next()) {
        forms[rows->Int("ID")] = rows->Text("Answer");
    }
    return forms;
}

TEST_F(QuestionExportTest, ExportedWorkbooksReadBackAsTheBankHoldsThem) {
    const std::vector<ImportedQuestion> inBank =
        Read(*store_, folder_, {QuestionScope::Paper, kFirstPaper});
    ASSERT_GT(inBank.size(), 10u);
    // Sections and scores come from the paper, every kind of the paper is there.
    EXPECT_EQ(inBank.front().section, "单项选择题");
    EXPECT_TRUE(inBank.front().score.has_value());
    std::set<QuestionKind> kinds;
    for (const ImportedQuestion& q : inBank) {
        kinds.insert(q.kind);
    }
    EXPECT_GE(kinds.size(), 4u);

    for (const char* name : {"第1套.xlsx", "第1套.ods", "第1套.csv"}) {
        SCOPED_TRACE(name);
        const ExportReport report = Export({QuestionScope::Paper, kFirstPaper}, name);
        EXPECT_EQ(report.written, static_cast<int>(inBank.size()));
        const ImportFile file = ReadImportFile(dir_.File(name), "");
        EXPECT_TRUE(file.reading.problems.empty());
        ASSERT_EQ(file.reading.questions.size(), inBank.size());
        std::vector<std::vector<std::string>> expected = Cells(inBank);
        std::vector<std::vector<std::string>> read = Cells(file.reading.questions);
        // A .csv holds one sheet, named after the file.
        for (size_t q = 0; EndsWith(name, ".csv") && q < expected.size(); ++q) {
            expected[q].back() = "第1套";
        }
        EXPECT_EQ(read, expected);
        for (size_t q = 0; q < inBank.size(); ++q) {
            EXPECT_EQ(file.reading.questions[q].existingId, inBank[q].existingId);
        }
    }
}

// A sheet holds every cell but no embedded answers; Moodle XML holds every
// question, its knowledge points as category and tags; GIFT holds one
// knowledge point and no question of several blanks (written as an essay).
TEST_F(QuestionExportTest, AFreshBankImportsTheSameQuestionsAndJudgesAlike) {
    const std::vector<ImportedQuestion> all = Read(*store_, folder_, {QuestionScope::All, 0});
    const auto sheet = [](const ImportedQuestion& q) { return !QuestionCells(q).empty(); };
    const auto any = [](const ImportedQuestion&) { return true; };
    const auto gift = [](const ImportedQuestion& q) {
        return q.kind != QuestionKind::Cloze &&
               !(q.kind == QuestionKind::FillBlank && q.blanks.size() > 1);
    };
    const struct {
        const char* name;
        std::function<bool(const ImportedQuestion&)> written;
        std::function<bool(const ImportedQuestion&)> alike;
    } cases[] = {
        {"全部.xlsx", sheet, sheet},
        {"全部.xml", any, any},
        {"全部.gift", [](const ImportedQuestion& q) { return q.kind != QuestionKind::Cloze; },
         gift},
    };
    const std::map<int, std::string> oldForms = Forms(*store_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Export({QuestionScope::All, 0}, c.name);
        const std::string fresh = dir_.File(std::string("fresh ") + c.name);
        fs::create_directory(fresh);
        std::unique_ptr<DataStore> other = testing::MakeDataFile(fresh + "/fresh.qly");
        ASSERT_TRUE(other);
        Import(*other, fresh, dir_.File(c.name));

        std::vector<ImportedQuestion> before = all;
        std::erase_if(before, [&](const ImportedQuestion& q) { return !c.written(q); });
        const std::vector<ImportedQuestion> after = Read(*other, fresh, {QuestionScope::All, 0});
        ASSERT_EQ(after.size(), before.size());
        if (EndsWith(c.name, ".xlsx")) {
            EXPECT_EQ(Cells(after), Cells(before));
        }
        const std::map<int, std::string> newForms = Forms(*other);
        for (size_t q = 0; q < before.size(); ++q) {
            SCOPED_TRACE(before[q].existingId);
            if (!c.alike(before[q])) {
                continue;
            }
            EXPECT_EQ(after[q].kind, before[q].kind);
            if (!EndsWith(c.name, ".xlsx")) {
                // HTML's white space collapses when a reader writes the text anew.
                std::string stem = before[q].stem;
                std::replace(stem.begin(), stem.end(), '\n', ' ');
                EXPECT_EQ(after[q].stem, stem);
                EXPECT_EQ(after[q].options, before[q].options);
                EXPECT_EQ(after[q].knowledgePaths.empty(), before[q].knowledgePaths.empty());
                if (!before[q].knowledgePaths.empty()) {
                    EXPECT_EQ(after[q].knowledgePaths.front(), before[q].knowledgePaths.front());
                }
            }
            if (EndsWith(c.name, ".xml")) {
                EXPECT_EQ(after[q].knowledgePaths, before[q].knowledgePaths);
            }
            for (const char* rule : {"key", "first"}) {
                const Judgement was = Judge(oldForms.at(before[q].existingId), rule);
                const Judgement is = Judge(newForms.at(after[q].existingId), rule);
                EXPECT_EQ(is.code, was.code) << rule;
                EXPECT_FLOAT_EQ(is.score, was.score) << rule;
            }
        }
    }
}

TEST_F(QuestionExportTest, TheUnchangedExportChangesNothingAndAnEditedCellUpdatesInPlace) {
    Export({QuestionScope::Paper, kFirstPaper}, "第1套.xlsx");
    Export({QuestionScope::Paper, kFirstPaper}, "第1套.csv");
    const auto before = Snapshot();
    const std::vector<std::string> lines = Import(*store_, folder_, dir_.File("第1套.xlsx"));
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("与题库相同，未改动"), std::string::npos) << lines.back();
    EXPECT_EQ(Snapshot(), before);

    std::string csv = ReadFileBytes(dir_.File("第1套.csv"));
    ASSERT_TRUE(ReplaceFirst(csv, "我国的海陆位置可以概括为", "我国的海陆位置应概括为"));
    // The score belongs to the paper: its edit is told, not written.
    ASSERT_TRUE(ReplaceFirst(csv, "1.1.1 地理位置,3,易", "1.1.1 地理位置,4,易"));
    ASSERT_EQ(WriteFileAtomically(dir_.File("第1套.csv"), csv), 0);
    const std::vector<std::string> edits = Import(*store_, folder_, dir_.File("第1套.csv"));
    EXPECT_EQ(std::count_if(edits.begin(), edits.end(),
                            [](const std::string& line) {
                                return line.find("分值 4 与试卷中试题 200001 的分值不同") !=
                                       std::string::npos;
                            }),
              1);
    const auto after = Snapshot();
    EXPECT_EQ(after.count("Question 200001"), 1u);
    size_t papers = 0;
    size_t questions = 0;
    for (const auto& [key, row] : after) {
        papers += StartsWith(key, "Paper ");
        questions += StartsWith(key, "Question ");
    }
    EXPECT_EQ(papers, static_cast<size_t>(std::count_if(before.begin(), before.end(), [](auto& e) {
                  return StartsWith(e.first, "Paper ");
              })));
    EXPECT_EQ(questions, 56u);
    const std::vector<ImportedQuestion> edited =
        Read(*store_, folder_, {QuestionScope::Paper, 101101});
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(edited[0].existingId, 200001);
    EXPECT_EQ(edited[0].stem, "我国的海陆位置应概括为（　　）");
    EXPECT_EQ(edited[0].options.size(), 4u);
}

TEST_F(QuestionExportTest, GiftAndMoodleXmlHoldTheKeysAndThePictures) {
    // A picture beside the first question's page.
    const std::string page = folder_ + "/Question/200001.html";
    std::string html = ReadFileBytes(page);
    ASSERT_TRUE(ReplaceFirst(html, "</p>", "<img src=\"200001_files/map.png\"></p>"));
    ASSERT_EQ(WriteFileAtomically(page, html), 0);
    fs::create_directory(folder_ + "/Question/200001_files");
    ASSERT_EQ(WriteFileAtomically(folder_ + "/Question/200001_files/map.png", "\x89PNG"), 0);

    const ExportReport xml = Export({QuestionScope::All, 0}, "全部.xml");
    const std::string bytes = ReadFileBytes(dir_.File("全部.xml"));
    xmlDoc* doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                XML_PARSE_NONET);
    ASSERT_NE(doc, nullptr);
    xmlXPathContext* context = xmlXPathNewContext(doc);
    const auto count = [&](const char* path) {
        xmlXPathObject* found =
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(path), context);
        const int n =
            found != nullptr && found->nodesetval != nullptr ? found->nodesetval->nodeNr : 0;
        xmlXPathFreeObject(found);
        return n;
    };
    EXPECT_EQ(count("/quiz/question[@type!='category']"), xml.written);
    for (const char* path : {
             "/quiz/question[name/text='200001'][@type='multichoice'][single='true']",
             "/quiz/question[name/text='200001']/answer[@fraction='100']",
             "/quiz/question[name/text='200001']/questiontext/file[@name='map.png']"
             "[@encoding='base64']",
             "/quiz/question[name/text='200001']/questiontext/"
             "text[contains(., '@@PLUGINFILE@@/map.png')]",
             "/quiz/question[@type='multichoice'][single='false']/"
             "answer[starts-with(@fraction, '-')]",
             "/quiz/question[@type='truefalse']/answer[@fraction='100']",
             "/quiz/question[@type='essay']/graderinfo/text[string-length(.) > 0]",
             "/quiz/question[@type='category']/category/text[starts-with(., '$course$/top/')]",
         }) {
        EXPECT_GT(count(path), 0) << path;
    }
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);

    const ExportReport gift = Export({QuestionScope::All, 0}, "全部.gift");
    const std::string text = ReadFileBytes(dir_.File("全部.gift"));
    EXPECT_GT(gift.written, 10);
    EXPECT_NE(text.find("$CATEGORY: $course$/top/"), std::string::npos);
    EXPECT_NE(text.find("::200001::[html]我国的海陆位置可以概括为"), std::string::npos);
    EXPECT_NE(text.find("data\\:image/png;base64,iVBORw\\=\\="), std::string::npos);
    EXPECT_NE(text.find("\t=位于亚洲东部，太平洋西岸\n"), std::string::npos);
    EXPECT_NE(text.find("TRUE\n"), std::string::npos);
}

// Our own files of each format imported, exported and imported into a fresh
// bank: the formats without a writer go out as Moodle XML.
TEST_F(QuestionExportTest, OurFilesOfEachFormatComeBackAsTheyWent) {
    WriteFileAtomically(dir_.File("试题包.zip"), testing::QtiPackage());
    const struct {
        std::string file;
        const char* out;
    } cases[] = {
        {testing::ExchangeFile("测验.gift"), "测验.gift"},
        {testing::ExchangeFile("题库.xml"), "题库.xml"},
        {testing::ExchangeFile("选择题.txt"), "选择题.xml"},
        {dir_.File("试题包.zip"), "试题包.xml"},
        {testing::ExchangeFile("题库.xlsx"), "题库.xlsx"},
        {testing::ExchangeFile("试卷.docx"), "试卷.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        std::vector<std::unique_ptr<DataStore>> banks;
        std::vector<std::string> folders;
        for (const std::string& file : {c.file, dir_.File(c.out)}) {
            folders.push_back(
                dir_.File(std::string("bank ") + c.out + std::to_string(banks.size())));
            fs::create_directory(folders.back());
            banks.push_back(testing::MakeDataFile(folders.back() + "/bank.qly"));
            ASSERT_TRUE(banks.back());
            Import(*banks.back(), folders.back(), file, true);
            if (banks.size() == 1) {
                ASSERT_TRUE(ExportQuestions(*banks[0], folders[0], {QuestionScope::All, 0},
                                            dir_.File(c.out))
                                .ok());
            }
        }
        const std::vector<ImportedQuestion> went =
            Read(*banks[0], folders[0], {QuestionScope::All, 0});
        const std::vector<ImportedQuestion> came =
            Read(*banks[1], folders[1], {QuestionScope::All, 0});
        ASSERT_EQ(came.size(), went.size());
        ASSERT_GT(went.size(), 0u);
        for (size_t q = 0; q < went.size(); ++q) {
            SCOPED_TRACE(went[q].stem);
            EXPECT_EQ(came[q].kind, went[q].kind);
            EXPECT_EQ(came[q].stem, went[q].stem);
            EXPECT_EQ(came[q].options, went[q].options);
            EXPECT_EQ(came[q].rightOptions, went[q].rightOptions);
            EXPECT_EQ(came[q].trueFalseKey, went[q].trueFalseKey);
            EXPECT_EQ(came[q].blanks, went[q].blanks);
            EXPECT_EQ(came[q].knowledgePaths, went[q].knowledgePaths);
            if (!EndsWith(c.out, ".gift")) {
                EXPECT_EQ(came[q].score, went[q].score);
            }
        }
    }
}

// Banks other tools wrote: their questions go out and come back unchanged,
// and a quiz system's file goes in beside them.
TEST(ForeignBankExchange, ExportsAndImportsInEveryStyle) {
    for (const testing::ForeignBankStyle& style : testing::kForeignBankStyles) {
        SCOPED_TRACE(style.name);
        TempDir dir;
        const std::string file = testing::MakeForeignBank(dir.Path(), style);
        ASSERT_FALSE(file.empty());
        std::unique_ptr<DataStore> store = testing::OpenDataStore(file);
        ASSERT_TRUE(store);
        ASSERT_TRUE(
            ExportQuestions(*store, dir.Path(), {QuestionScope::All, 0}, dir.File("全部.xlsx"))
                .ok());
        const auto import = [&](const std::string& path) {
            Result<ImportPlan> plan =
                PlanImport(*store, {ReadImportFile(path, "")}, {0, /*skipBad=*/true});
            EXPECT_TRUE(plan.ok());
            NoProgress progress;
            EXPECT_TRUE(plan.ok() && WriteImport(*store, dir.Path(), *plan, progress).ok());
            return plan.ok() ? ImportLines(*plan).back() : std::string();
        };
        EXPECT_NE(import(dir.File("全部.xlsx")).find("4 题与题库相同，未改动"), std::string::npos);
        EXPECT_NE(import(testing::ExchangeFile("测验.gift")).find("新增 13 题"), std::string::npos);
        Result<ImportReading> all = ReadBankQuestions(*store, dir.Path(), {QuestionScope::All, 0});
        ASSERT_TRUE(all.ok());
        EXPECT_EQ(all->questions.size(), 17u);
    }
}

TEST(PagePartsTest, OptionsAreFoundInPagesOurImportDidNotWrite) {
    const struct {
        const char* body;
        size_t wanted;
        bool found;
        const char* stem;
        std::vector<std::string> options;
    } kCases[] = {
        {"<p>首都是（ ）</p><p>A. 北京</p><p>B. 上海</p>",
         2,
         true,
         "首都是（ ）",
         {"北京", "上海"}},
        {"首都是（ ）<br>A、北京　B、上海", 2, true, "首都是（ ）", {"北京", "上海"}},
        {"<p>首都是（ ）</p><p>A．北京 B．上海 C．广州</p>",
         3,
         true,
         "首都是（ ）",
         {"北京", "上海", "广州"}},
        {"<p>首都是北京还是上海？</p>", 2, false, "首都是北京还是上海？", {}},
        {"<p>题</p><p>A. 北京</p><p>C. 上海</p>",
         2,
         false,
         "<p>题</p><p>A. 北京</p><p>C. 上海</p>",
         {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.body);
        const QuestionPageParts parts = ReadQuestionPage(
            std::string("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                        "charset=utf-8\"></head><body>") +
                c.body + "</body></html>",
            c.wanted);
        EXPECT_EQ(parts.optionsFound, c.found);
        EXPECT_EQ(parts.stem, c.stem);
        if (c.found) {
            EXPECT_EQ(parts.options, c.options);
        }
    }
}

}  // namespace
}  // namespace quillory
