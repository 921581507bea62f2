// Printing from the classic papers frame on the browse test bank: the
// print file with and without answers, its PDF and printer output, and the
// print command as the learner goes through it (the choice, the file
// dialog, the result).
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/common/gb_encoding.h"
#include "frame/frame_commands.h"
#include "generation/print_document.h"
#include "generation/print_paper.h"
#include "practice/paper_frame.h"
#include "test_bank_support.h"
#include "widgets/tree_view_ext.h"

using quillory::testing::MessageRecorder;
using quillory::testing::ReadFileBytes;
using quillory::testing::WaitForPage;

namespace {

// The browse bank (tests/banks/browse/papers.txt).
constexpr int kPaper = 103000;    // "丙卷 综合测试"
constexpr int kSection = 101100;  // "第1部分 选择题" of 甲卷: questions 200001 and 200002
constexpr int kWait = 60000;

// The text of a print file (GB2312 on disk).
QString PrintFileText(const QString& path) {
    return QString::fromStdString(quillory::GbToUtf8(ReadFileBytes(path.toStdString())));
}

bool IsPdf(const QString& path) {
    const std::string bytes = ReadFileBytes(path.toStdString());
    return bytes.size() > 1000 && bytes.compare(0, 5, "%PDF-") == 0;
}

// Answers the modal windows of the print command one after the other, as
// they come up: each step gets the window and says whether it was its own.
// A window no step expects is closed, so that the test fails rather than
// waits for ever.
class ModalDriver : public QObject {
public:
    using Step = std::function<bool(QWidget*)>;

    explicit ModalDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == last_) {
                return;
            }
            last_ = modal;
            if (next_ < steps_.size() && steps_[next_](modal)) {
                ++next_;
            } else {
                unexpected_ = true;
                modal->close();
            }
        });
        timer_.start(20);
    }
    bool Done() const { return next_ == steps_.size() && !unexpected_; }

private:
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool unexpected_ = false;
    QWidget* last_ = nullptr;
    QTimer timer_;
};

// Presses the button named name of the print choice.
ModalDriver::Step Choose(const QString& name) {
    return [name](QWidget* modal) {
        if (modal->objectName() != QStringLiteral("PrintChoice")) {
            return false;
        }
        QPushButton* button = modal->findChild<QPushButton*>(name);
        if (button == nullptr) {
            return false;
        }
        button->click();
        return true;
    };
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void printFileHoldsTheNodeWithOrWithoutAnswers();
    void printFileIsExportedAsAPdf();
    void printerReceivesThePages();
    void printCommandExportsAPdfWhereTheLearnerSays();
    void cancelledChoicePrintsNothing();
    void defaultPdfLiesBesideTheDataFile();

private:
    bool Select(int id);

    quillory::testing::TempDir dir_;
    std::unique_ptr<CBankSession> bank_;
    std::unique_ptr<CPaperFrame> frame_;
    MessageRecorder messages_;
};

void PrintTest::initTestCase() {
    bank_ = quillory::testing::OpenTestBank(dir_, "browse");
    QVERIFY(bank_);
    frame_ = std::make_unique<CPaperFrame>(*bank_, FrameResource::ClassicPapers,
                                           quillory::PaperFilter::Classic, nullptr);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QVERIFY(WaitForPage(*frame_->ContentView(), [&] { frame_->LoadTree(); }));
}

void PrintTest::cleanupTestCase() {
    frame_.reset();
}

void PrintTest::init() {
    messages_.Clear();
}

bool PrintTest::Select(int id) {
    frame_->TreeView()->selectionModel()->clear();
    return WaitForPage(*frame_->ContentView(), [&] { frame_->TreeView()->SelectItemById(id); });
}

void PrintTest::printFileHoldsTheNodeWithOrWithoutAnswers() {
    quillory::Host& host = frame_->ContentView()->Host();
    const QString withAnswers =
        MakePrintFile(frame_.get(), *bank_, host, frame_->Nodes(), kSection);
    QCOMPARE(withAnswers, bank_->DataFolder() + QStringLiteral("/Question/第1部分 选择题.htm"));
    QCOMPARE(messages_.Shown().size(), size_t{1});
    QCOMPARE(messages_.Shown()[0].text, QStringLiteral("是否打印答案？"));
    QString text = PrintFileText(withAnswers);
    QVERIFY(text.contains(QStringLiteral("<title>穹岚</title>")));
    // The section's page, its questions labelled with their item titles,
    // their answer pages without the heading.
    QVERIFY(text.contains(QStringLiteral("每小题只有一个选项符合题目要求。")));
    QVERIFY(text.contains(QStringLiteral("<h3 class=\"item\">第02题</h3>")));
    QVERIFY(text.contains(QStringLiteral("赤道的纬度是")));
    QVERIFY(text.contains(QStringLiteral("经线连接南北两极")));
    QVERIFY(!text.contains(QStringLiteral("答案与分析")));
    // Nothing of the next section.
    QVERIFY(!text.contains(QStringLiteral("第2部分")));

    const MessageBoxHandler previous =
        SetMessageBoxHandler([](QWidget*, const QString&, QMessageBox::Icon,
                                QMessageBox::StandardButtons) { return QMessageBox::No; });
    const QString withoutAnswers =
        MakePrintFile(frame_.get(), *bank_, host, frame_->Nodes(), kSection);
    SetMessageBoxHandler(previous);
    QCOMPARE(withoutAnswers, withAnswers);
    text = PrintFileText(withoutAnswers);
    QVERIFY(text.contains(QStringLiteral("赤道的纬度是")));
    QVERIFY(!text.contains(QStringLiteral("经线连接南北两极")));

    // A node that is not in the tree prints nothing and asks nothing.
    QVERIFY(MakePrintFile(frame_.get(), *bank_, host, frame_->Nodes(), 999999).isEmpty());
    QCOMPARE(messages_.Shown().size(), size_t{1});
}

void PrintTest::printFileIsExportedAsAPdf() {
    const QString printFile =
        MakePrintFile(frame_.get(), *bank_, frame_->ContentView()->Host(), frame_->Nodes(), kPaper);
    QVERIFY(!printFile.isEmpty());
    CPrintDocument document;
    QVERIFY(document.Load(printFile));
    const QString pdf = QString::fromStdString(dir_.File("丙卷.pdf"));
    QVERIFY2(document.ExportPdf(pdf), qPrintable(document.ErrorText()));
    QVERIFY(IsPdf(pdf));

    const QString nowhere = QString::fromStdString(dir_.File("no such folder/丙卷.pdf"));
    QVERIFY(!document.ExportPdf(nowhere));
    QVERIFY(document.ErrorText().contains(nowhere));
    QVERIFY(!document.Load(QString::fromStdString(dir_.File("missing.htm"))));
    QVERIFY(!document.ErrorText().isEmpty());
}

void PrintTest::printerReceivesThePages() {
    const QString printFile = MakePrintFile(frame_.get(), *bank_, frame_->ContentView()->Host(),
                                            frame_->Nodes(), kSection);
    CPrintDocument document;
    QVERIFY(document.Load(printFile));
    // A printer that writes what it receives to a file (at screen
    // resolution: the test is about the way there, not the dots).
    QPrinter printer(QPrinter::ScreenResolution);
    const QString output = QString::fromStdString(dir_.File("printer.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(output);
    QVERIFY2(document.Print(printer), qPrintable(document.ErrorText()));
    QVERIFY(IsPdf(output));
    // Text stays text: the pages carry their fonts, not pictures of them.
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("/FontFile"));
}

void PrintTest::printCommandExportsAPdfWhereTheLearnerSays() {
    QVERIFY(Select(kPaper));
    QAction* print = frame_->Command(kCmdPrint);
    QVERIFY(print->isEnabled());
    const QString pdf = QString::fromStdString(dir_.File("导出的试卷.pdf"));
    QString offered;
    ModalDriver driver({Choose(QStringLiteral("pdf")), [&](QWidget* modal) {
                            auto* dialog = qobject_cast<QFileDialog*>(modal);
                            if (dialog == nullptr) {
                                return false;
                            }
                            offered = dialog->selectedFiles().value(0);
                            // Typed into the name box, as the learner does.
                            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                            if (name == nullptr) {
                                return false;
                            }
                            name->setText(pdf);
                            static_cast<QDialog*>(dialog)->accept();
                            return true;
                        }});
    print->trigger();
    QVERIFY(driver.Done());
    QCOMPARE(offered, DefaultPdfFile(*bank_, QStringLiteral("丙卷 综合测试")));
    QVERIFY(IsPdf(pdf));
    QCOMPARE(messages_.Shown().size(), size_t{2});
    QCOMPARE(messages_.Shown()[1].text, QStringLiteral("已导出PDF文件：\n") + pdf);
    QCOMPARE(messages_.Shown()[1].icon, QMessageBox::Information);
}

void PrintTest::cancelledChoicePrintsNothing() {
    QVERIFY(Select(kPaper));
    ModalDriver driver({Choose(QStringLiteral("cancel"))});
    frame_->Command(kCmdPrint)->trigger();
    QVERIFY(driver.Done());
    // Only the question about the answers was asked.
    QCOMPARE(messages_.Shown().size(), size_t{1});
    QVERIFY(!QFile::exists(DefaultPdfFile(*bank_, QStringLiteral("丙卷 综合测试"))));
}

void PrintTest::defaultPdfLiesBesideTheDataFile() {
    QCOMPARE(DefaultPdfFile(*bank_, QStringLiteral("第1套")),
             bank_->DataFolder() + QStringLiteral("/第1套.pdf"));
    // A title never leads the file out of the data folder.
    QCOMPARE(DefaultPdfFile(*bank_, QStringLiteral("../上/下")),
             bank_->DataFolder() + QStringLiteral("/.._上_下.pdf"));
}

QUILLORY_BANK_TEST_MAIN(PrintTest)
#include "print_test.moc"
