#include "practice/input_form.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "core/common/internal_link.h"
#include "core/practice/answer_panel.h"
#include "core/practice/exam_countdown.h"
#include "practice/panel_controls.h"
#include "widgets/control_name.h"
#include "widgets/utf8_text.h"

// The panel's icons live in the application library; a static library needs
// its resources registered by hand.
static void InitExamResources() {
    Q_INIT_RESOURCE(exam);
}

namespace {

// The form is laid out in dialog units of an 8-point dialog font (4 × 8
// units make 6 × 13 pixels), so that the answer area keeps the pixel size
// the answer form descriptions are drawn for.
constexpr QSize kFormSize(383, 197);

QRect ToPixels(const QRect& dialogUnits) {
    return QRect(dialogUnits.x() * 3 / 2, dialogUnits.y() * 13 / 8, dialogUnits.width() * 3 / 2,
                 dialogUnits.height() * 13 / 8);
}

// Where a status icon is shown, in pixels.
constexpr QRect kStatusIcon(80, 38, 32, 32);

}  // namespace

CInputForm::CInputForm(QWidget* parent) : QScrollArea(parent) {
    InitExamResources();
    setObjectName(QStringLiteral("inputForm"));
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    form_ = new QWidget;
    form_->setFixedSize(ToPixels(QRect(QPoint(), kFormSize)).size());
    LayOutForm();
    setWidget(form_);

    countdown_ = new QTimer(this);
    countdown_->setObjectName(QStringLiteral("questionCountdown"));
    countdown_->setInterval(1000);
    connect(countdown_, &QTimer::timeout, this, &CInputForm::CountDown);
    controls_.OnEdited([this] { emit answersEdited(); });
}

CInputForm::~CInputForm() = default;

int CInputForm::FormHeight() const {
    return form_->height();
}

template <typename Window>
Window* CInputForm::Add(Window* window, int id, const QRect& dialogUnits) {
    window->setObjectName(ControlName(id));
    window->setGeometry(ToPixels(dialogUnits));
    return window;
}

QLabel* CInputForm::AddIcon(int id, const char* resource, const QRect& dialogUnits) {
    auto* icon = Add(new QLabel(form_), id, dialogUnits);
    icon->setPixmap(QPixmap(QString::fromLatin1(resource)));
    icon->resize(kStatusIcon.size());
    icon->hide();
    return icon;
}

void CInputForm::LayOutForm() {
    title_ = Add(new QLabel(form_), kCtlNodeTitle, QRect(7, 7, 369, 18));
    title_->setAlignment(Qt::AlignCenter);
    title_->setTextFormat(Qt::PlainText);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);

    correctIcon_ = AddIcon(kCtlCorrectIcon, ":/exam/correct.png", QRect(52, 23, 21, 20));
    scoreEntry_ = Add(new QLineEdit(form_), kCtlScoreEntry, QRect(340, 25, 36, 17));
    scoreEntry_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Digits and a decimal point: the score is shown as "%.1f".
    scoreEntry_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), scoreEntry_));
    scoreEntry_->hide();
    connect(scoreEntry_, &QLineEdit::textEdited, this, &CInputForm::OnScoreEdited);

    // Wider than the template's boxes so that the longest score line fits
    // the application font; their texts are right-aligned and never meet.
    timeLeft_ = Add(new QLabel(form_), kCtlTimeLeft, QRect(100, 27, 116, 13));
    timeLeft_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    scoreLine_ = Add(new QLabel(form_), kCtlScoreLine, QRect(180, 27, 157, 13));
    scoreLine_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Add(new QLabel(QStringLiteral("您的答案："), form_), kCtlAnswerCaption, QRect(10, 30, 45, 12));

    auto* area = Add(new QFrame(form_), kCtlAnswerArea, QRect(7, 43, 369, 127));
    area->setFrameShape(QFrame::Box);
    area->setFrameShadow(QFrame::Sunken);
    // A sheet to write on, set off from the panel.
    area->setBackgroundRole(QPalette::Base);
    area->setAutoFillBackground(true);
    // The answer controls, raised when made, lie over it.
    area->lower();
    answerArea_ = area;

    partlyIcon_ = AddIcon(kCtlPartlyCorrectIcon, ":/exam/partly.png", QRect(79, 46, 21, 20));
    wrongIcon_ = AddIcon(kCtlWrongIcon, ":/exam/wrong.png", QRect(114, 46, 21, 20));
    answeringIcon_ = AddIcon(kCtlAnsweringIcon, ":/exam/answering.png", QRect(146, 46, 21, 20));
    scoringIcon_ = AddIcon(kCtlScoringIcon, ":/exam/scoring.png", QRect(14, 47, 21, 20));

    toggleButton_ = Add(new QPushButton(QStringLiteral("答案(&A)"), form_), kCtlToggleAnswer,
                        QRect(19, 173, 71, 17));
    previousButton_ = Add(new QPushButton(QStringLiteral("<<上一个(&B)"), form_), kCtlPrevious,
                          QRect(117, 173, 71, 17));
    nextButton_ = Add(new QPushButton(QStringLiteral("下一个>>(&N)"), form_), kCtlNext,
                      QRect(189, 173, 71, 17));
    submitButton_ = Add(new QPushButton(QStringLiteral("交卷(&S)"), form_), kCtlSubmit,
                        QRect(291, 173, 71, 17));
    connect(toggleButton_, &QPushButton::clicked, this, &CInputForm::ToggleAnswer);
    connect(previousButton_, &QPushButton::clicked, this, &CInputForm::OnPrevious);
    connect(nextButton_, &QPushButton::clicked, this, &CInputForm::OnNext);
    connect(submitButton_, &QPushButton::clicked, this, &CInputForm::OnSubmit);
}

void CInputForm::ShowItem(int nodeId, const QString& title, quillory::ExamState state, int navFlags,
                          const quillory::ExamItem& item) {
    ++shown_;
    nodeId_ = nodeId;
    nodeTitle_ = title;
    state_ = state;
    controls_.DestroyAnswerControls();
    item_ = item;

    countdown_->stop();
    for (QWidget* window :
         {static_cast<QWidget*>(timeLeft_), static_cast<QWidget*>(scoreLine_),
          static_cast<QWidget*>(scoreEntry_), static_cast<QWidget*>(scoringIcon_),
          static_cast<QWidget*>(correctIcon_), static_cast<QWidget*>(wrongIcon_),
          static_cast<QWidget*>(partlyIcon_), static_cast<QWidget*>(answeringIcon_)}) {
        window->hide();
    }
    title_->setText(title);
    EnableNavigation(navFlags);
    previousButton_->show();
    nextButton_->show();

    const quillory::PanelView view = quillory::DescribePanel(state, item_);
    toggleButton_->setVisible(view.showToggle);
    if (view.toggleCaption) {
        toggleButton_->setText(FromUtf8(*view.toggleCaption));
    }
    if (view.submitCaption) {
        submitButton_->setText(FromUtf8(*view.submitCaption));
    }
    ShowStatusIcon(view.icon);
    if (view.scoreLine) {
        scoreLine_->setText(FromUtf8(*view.scoreLine));
        scoreLine_->show();
    }
    if (view.scoreEntry) {
        // Showing the score is no entry: it must not round the score.
        const QSignalBlocker blocker(scoreEntry_);
        scoreEntry_->setText(FromUtf8(*view.scoreEntry));
        scoreEntry_->setEnabled(true);
        scoreEntry_->show();
    }
    if (view.countdownSeconds > 0) {
        secondsLeft_ = view.countdownSeconds;
        countdown_->start();
        CountDown();
        timeLeft_->show();
    }
    if (view.answerControls) {
        controls_.BuildAnswerForm(form_, answerArea_->geometry().topLeft(), item_.description,
                                  item_.learnerAnswer);
    }
}

quillory::PanelItem CInputForm::TakeItem() {
    if (state_ == quillory::ExamState::Answering) {
        item_.learnerAnswer = controls_.ReadAnswerText();
    }
    return {nodeId_, item_, state_};
}

void CInputForm::ShowStatusIcon(quillory::StatusIcon icon) {
    QLabel* label = nullptr;
    switch (icon) {
        case quillory::StatusIcon::None:
            return;
        case quillory::StatusIcon::Answering:
            label = answeringIcon_;
            break;
        case quillory::StatusIcon::Scoring:
            label = scoringIcon_;
            break;
        case quillory::StatusIcon::Correct:
            label = correctIcon_;
            break;
        case quillory::StatusIcon::PartlyCorrect:
            label = partlyIcon_;
            break;
        case quillory::StatusIcon::Wrong:
            label = wrongIcon_;
            break;
    }
    label->setGeometry(kStatusIcon);
    label->show();
}

void CInputForm::EnableNavigation(int navFlags) {
    previousButton_->setEnabled((navFlags & quillory::kFirstNode) == 0);
    nextButton_->setEnabled((navFlags & quillory::kLastNode) == 0);
}

void CInputForm::ToggleAnswer() {
    if (item_.questionId == -1) {
        return;
    }
    const bool toAnswer = toggleButton_->text() == FromUtf8(quillory::kAnswerCaption);
    const std::string link =
        quillory::MakeLink(toAnswer ? quillory::LinkKind::Answer : quillory::LinkKind::Question,
                           item_.questionId, nodeTitle_.toStdString());
    toggleButton_->setText(
        FromUtf8(toAnswer ? quillory::kQuestionCaption : quillory::kAnswerCaption));
    emit pageRequested(FromUtf8(link));
}

void CInputForm::OnPrevious() {
    emit previousRequested(nodeId_);
}

void CInputForm::OnNext() {
    emit nextRequested(nodeId_);
}

void CInputForm::OnSubmit() {
    if (state_ == quillory::ExamState::Answering || state_ == quillory::ExamState::Scoring) {
        emit submitRequested();
    } else {
        emit returnRequested();
    }
}

void CInputForm::OnScoreEdited(const QString& text) {
    item_.learnerScore = quillory::ScoreFromEntry(text.toStdString(), item_.fullMarks);
    emit answersEdited();
}

void CInputForm::CountDown() {
    const quillory::QuestionTick tick = quillory::TickQuestionCountdown(secondsLeft_);
    timeLeft_->setText(FromUtf8(tick.text));
    if (!tick.timeUp) {
        return;
    }
    // Time is up: the next node is asked for once a second until another
    // node is shown.
    const int shown = shown_;
    QMetaObject::invokeMethod(
        this,
        [this, shown] {
            if (shown == shown_) {
                OnNext();
            }
        },
        Qt::QueuedConnection);
}
