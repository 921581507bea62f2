#include "shell/main_menu_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "frame/quillory_frame.h"
#include "practice/do_paper_frame.h"
#include "practice/paper_frame.h"
#include "shell/frame_factory.h"
#include "widgets/about_dialog.h"
#include "widgets/bank_session.h"

namespace {

// The menu's layout in dialog units, turned into pixels by the dialog font.
constexpr QSize kDialogSize(213, 202);
constexpr QRect kPicture(58, 17, 113, 143);

struct ModuleButton {
    Module module;
    const char* text;
    QRect rect;
};

const ModuleButton kModuleButtons[] = {
    {Module::ClassicAnalysis, "考点分析", QRect(11, 17, 38, 17)},
    {Module::Knowledge, "权威笔记", QRect(11, 48, 38, 17)},
    {Module::ClassicPapers, "经典试卷", QRect(11, 79, 38, 17)},
    {Module::PracticePapers, "组卷练习", QRect(11, 110, 38, 17)},
    {Module::History, "历史纪录", QRect(11, 141, 38, 17)},
};

constexpr QRect kHelpButton(58, 172, 38, 17);
constexpr QRect kAboutButton(105, 172, 38, 17);
constexpr QRect kExitButton(162, 172, 38, 17);

}  // namespace

CMainMenuDlg::CMainMenuDlg(CBankSession& bank, FrameFactory factory)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      bank_(bank),
      factory_(factory ? std::move(factory) : FrameFactory(CreateModuleFrames)) {
    setObjectName(QStringLiteral("MainMenu"));
    setWindowIcon(QIcon(QStringLiteral(":/shell/quillory.png")));
    setFont(QFont(QStringLiteral("楷体_GB2312"), 10));
    LayOut();
}

CMainMenuDlg::~CMainMenuDlg() = default;

QRect CMainMenuDlg::ToPixels(const QRect& dialogUnits) const {
    const auto x = [this](int units) { return units * baseUnits_.width() / 4; };
    const auto y = [this](int units) { return units * baseUnits_.height() / 8; };
    return QRect(x(dialogUnits.x()), y(dialogUnits.y()), x(dialogUnits.width()),
                 y(dialogUnits.height()));
}

QPushButton* CMainMenuDlg::AddButton(const QString& text, const QRect& dialogUnits) {
    auto* button = new QPushButton(text, this);
    // Enter does nothing on the menu, even on a focused button.
    button->setAutoDefault(false);
    button->setGeometry(ToPixels(dialogUnits));
    return button;
}

void CMainMenuDlg::LayOut() {
    // Dialog units: a quarter of the average Latin letter width and an
    // eighth of the font height.
    const QFontMetrics metrics(font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseUnits_ = QSize((metrics.horizontalAdvance(letters) / 26 + 1) / 2, metrics.height());
    setFixedSize(ToPixels(QRect(QPoint(0, 0), kDialogSize)).size());

    for (const ModuleButton& entry : kModuleButtons) {
        QPushButton* button = AddButton(QString::fromUtf8(entry.text), entry.rect);
        button->setObjectName(QStringLiteral("ModuleButton%1").arg(IndexOf(entry.module)));
        const Module module = entry.module;
        connect(button, &QPushButton::clicked, this, [this, module] { ShowModule(module); });
    }
    connect(AddButton(QStringLiteral("使用帮助"), kHelpButton), &QPushButton::clicked, this,
            [this] { emit helpRequested(this); });
    connect(AddButton(QStringLiteral("关于我们"), kAboutButton), &QPushButton::clicked, this,
            [this] {
                if (!busy_) {
                    ShowAboutDialog(this);
                }
            });
    connect(AddButton(QStringLiteral("退出系统"), kExitButton), &QPushButton::clicked, this,
            &CMainMenuDlg::EndProgram);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("MenuPicture"));
    const QRect area = ToPixels(kPicture);
    picture->setGeometry(area);
    const qreal ratio = devicePixelRatioF();
    QPixmap image(QStringLiteral(":/shell/menu_picture.png"));
    image = image.scaled(area.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    picture->setPixmap(image);
}

void CMainMenuDlg::Initialize() {
    busy_ = true;
    setWindowTitle(bank_.ApplicationTitle());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    // Let the menu appear before the frames, which take a while to make.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const std::vector<CQuilloryFrame*> frames = factory_(bank_, this);
    for (size_t i = 0; i < kModuleCount && i < frames.size(); ++i) {
        CQuilloryFrame* frame = frames[i];
        frames_[i] = frame;
        frame->setWindowTitle(bank_.ApplicationTitle() +
                              QString::fromUtf8(kModules[i].titleSuffix));
        connect(frame, &CQuilloryFrame::moduleClosed, this, &CMainMenuDlg::OnModuleClosed);
        connect(frame, &CQuilloryFrame::startExamRequested, this, &CMainMenuDlg::OnStartExam);
        connect(frame, &CQuilloryFrame::reviewExamRequested, this, &CMainMenuDlg::OnReviewExam);
        connect(frame, &CQuilloryFrame::targetedPaperRequested, this,
                &CMainMenuDlg::OnTargetedPaper);
        connect(frame, &CQuilloryFrame::redoMistakesRequested, this, &CMainMenuDlg::OnRedoMistakes);
        connect(frame, &CQuilloryFrame::helpRequested, this, &CMainMenuDlg::helpRequested);
        connect(frame, &CQuilloryFrame::questionsImported, this,
                &CMainMenuDlg::OnQuestionsImported);
        connect(frame, &CQuilloryFrame::minimizeRequested, this,
                &CMainMenuDlg::MinimizeApplication);
    }
    busy_ = false;
    // An exam a crash or a power cut broke off goes on where it stopped.
    OfferUnfinishedExam();
}

void CMainMenuDlg::ShowModule(Module module) {
    CQuilloryFrame* frame = frames_[IndexOf(module)];
    if (busy_ || !frame) {
        return;
    }
    if (!frame->IsLoaded()) {
        frame->LoadTree();
    }
    RaiseFrame(frame);
}

void CMainMenuDlg::OnStartExam(CQuilloryFrame* /*sender*/, int paperId) {
    if (!busy_) {
        OpenExamFrame(ExamMode::Paper, paperId);
    }
}

void CMainMenuDlg::OnReviewExam(CQuilloryFrame* /*sender*/, int historyId) {
    if (!busy_) {
        OpenExamFrame(ExamMode::Review, historyId);
    }
}

void CMainMenuDlg::OnTargetedPaper(const quillory::TargetedPaperRequest& request) {
    auto* practice = qobject_cast<CPaperFrame*>(frames_[IndexOf(Module::PracticePapers)]);
    if (practice == nullptr) {
        return;
    }
    practice->CreateTargetedPaper(request);
    ShowModule(Module::PracticePapers);
}

void CMainMenuDlg::OnRedoMistakes(int knowledgeId) {
    auto* practice = qobject_cast<CPaperFrame*>(frames_[IndexOf(Module::PracticePapers)]);
    if (practice != nullptr && practice->CreateRedoPaper(knowledgeId)) {
        ShowModule(Module::PracticePapers);
    }
}

void CMainMenuDlg::OnQuestionsImported() {
    // New points and reference questions: these trees fill anew when shown.
    for (Module module : {Module::Knowledge, Module::ClassicAnalysis}) {
        if (CQuilloryFrame* frame = frames_[IndexOf(module)]) {
            frame->ResetTree();
        }
    }
}

void CMainMenuDlg::OpenExamFrame(ExamMode mode, int id) {
    CQuilloryFrame* exam = frames_[IndexOf(Module::Exam)];
    if (!exam) {
        return;
    }
    if (auto* doPaper = qobject_cast<CDoPaperFrame*>(exam)) {
        if (mode == ExamMode::Paper) {
            doPaper->StartExam(id);
        } else {
            doPaper->ReviewRecord(id);
        }
    }
    RaiseFrame(exam);
}

void CMainMenuDlg::OfferUnfinishedExam() {
    CQuilloryFrame* exam = frames_[IndexOf(Module::Exam)];
    auto* doPaper = qobject_cast<CDoPaperFrame*>(exam);
    if (doPaper != nullptr && doPaper->ResumeExam()) {
        RaiseFrame(exam);
    }
}

void CMainMenuDlg::RaiseFrame(CQuilloryFrame* frame) {
    frame->showMaximized();
    frame->raise();
    frame->activateWindow();
    ShowFrame(frame);
}

void CMainMenuDlg::ShowFrame(CQuilloryFrame* frame) {
    shown_.removeOne(frame);
    // Every frame fills the screen: the others are out of sight.
    for (CQuilloryFrame* covered : shown_) {
        covered->SetPageKept(false);
    }
    frame->SetPageKept(true);
    shown_.append(frame);
}

void CMainMenuDlg::OnModuleClosed(CQuilloryFrame* frame) {
    shown_.removeOne(frame);
    raise();
    activateWindow();
}

void CMainMenuDlg::MinimizeApplication() {
    showMinimized();
}

void CMainMenuDlg::BringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void CMainMenuDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const bool wasMinimized =
        static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized;
    if (isMinimized() && !wasMinimized) {
        // The frames belong to the menu and go to the task bar with it.
        for (CQuilloryFrame* frame : shown_) {
            frame->hide();
        }
    } else if (!isMinimized() && wasMinimized) {
        RestoreShownFrames();
    }
}

void CMainMenuDlg::RestoreShownFrames() {
    raise();
    // Least recent first, so the most recent ends on top.
    for (CQuilloryFrame* frame : shown_) {
        frame->showMaximized();
        frame->raise();
    }
    if (!shown_.isEmpty()) {
        shown_.last()->activateWindow();
    }
}

void CMainMenuDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Cancel:
        case Qt::Key_Enter:
        case Qt::Key_Return:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CMainMenuDlg::accept() {}

void CMainMenuDlg::reject() {
    EndProgram();
}

void CMainMenuDlg::closeEvent(QCloseEvent* event) {
    EndProgram();
    event->accept();
}

void CMainMenuDlg::EndProgram() {
    if (ending_) {
        return;
    }
    ending_ = true;
    hide();
    // The frames go with their owner, before the data file is closed.
    shown_.clear();
    for (CQuilloryFrame*& frame : frames_) {
        delete frame;
        frame = nullptr;
    }
    emit exitRequested();
}
