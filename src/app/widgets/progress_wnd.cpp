#include "widgets/progress_wnd.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "core/host/setting_names.h"

namespace {

constexpr int kMargin = 10;
constexpr int kEdge = 2;  // the bar sits inside the reserved space by a border's height
constexpr int kInitialWidth = 390;
constexpr int kInitialHeight = 130;
constexpr int kOneLineWidth = 390;

}  // namespace

QWidget* CProgressWnd::MainWindow() const {
    QWidget* main = parentWidget();
    while (main && main->parentWidget()) {
        main = main->parentWidget();
    }
    return main;
}

CProgressWnd::CProgressWnd(QWidget* parent, const QString& title, bool smooth,
                           quillory::Settings* settings)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      settings_(settings) {
    CreateWindow(title, smooth);
}

CProgressWnd::~CProgressWnd() {
    if (hasWindow_) {
        CloseWindow();
    }
}

void CProgressWnd::CreateWindow(const QString& title, bool smooth) {
    title_ = title;
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(title_);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::BusyCursor);
    setAutoFillBackground(true);
    if (!label_) {
        label_ = new QLabel(this);
        label_->setObjectName(QStringLiteral("ProgressText"));
        label_->setFont(QApplication::font("QMessageBox"));
        label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label_->setWordWrap(true);
        bar_ = new QProgressBar(this);
        bar_->setObjectName(QStringLiteral("ProgressBar"));
        bar_->setTextVisible(false);
    }
    // The skin draws a plain bar in blocks, a smooth one in one piece.
    bar_->setProperty("smooth", smooth);
    bar_->setRange(lower_, upper_);
    resize(kInitialWidth, kInitialHeight);
    SetWindowSize(lines_, kInitialWidth);
    RestorePosition();
    hasWindow_ = true;
    show();
}

void CProgressWnd::SetWindowSize(int lines, int width) {
    lines_ = lines;
    if (!label_) {
        return;
    }
    const QFontMetrics metrics(label_->font());
    QStringList rows;
    for (int i = 0; i < lines; ++i) {
        rows << QStringLiteral("M");
    }
    const int textHeight =
        metrics.boundingRect(QRect(0, 0, width, 0), Qt::TextDontClip, rows.join('\n')).height();
    const QSize reserved = metrics.size(Qt::TextSingleLine, cancelLabel_);
    const QRect text(kMargin, kMargin, width, textHeight);
    const QRect reservedRect(text.right() + 1 - reserved.width(), text.bottom() + 1 + kMargin,
                             reserved.width(), reserved.height());
    const QRect barRect(text.left(), reservedRect.top() + kEdge,
                        reservedRect.left() - kMargin - text.left(),
                        reservedRect.height() - 2 * kEdge);
    setFixedSize(kMargin + width + kMargin,
                 kMargin + textHeight + kMargin + reserved.height() + kMargin);
    label_->setGeometry(text);
    bar_->setGeometry(barRect);
}

void CProgressWnd::RestorePosition() {
    if (settings_) {
        const int x =
            settings_->ReadInt(quillory::setting::kSection, quillory::setting::kProgressX, -1);
        const int y =
            settings_->ReadInt(quillory::setting::kSection, quillory::setting::kProgressY, -1);
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect();
        if (x >= 0 && x < area.width() && y >= 0 && y < area.height()) {
            move(x, y);
            return;
        }
    }
    const QWidget* owner = parentWidget();
    QRect around;
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        around = owner->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        around = screen->availableGeometry();
    }
    QRect frame = frameGeometry();
    frame.moveCenter(around.center());
    move(frame.topLeft());
}

void CProgressWnd::GoModal(const QString& title, bool smooth) {
    if (!hasWindow_) {
        CreateWindow(title, smooth);
    }
    if (QWidget* main = MainWindow()) {
        main->setEnabled(false);
    }
    // A window stays usable even when its owner is disabled.
    setEnabled(true);
    modal_ = true;
}

void CProgressWnd::SetRange(int lower, int upper, int step) {
    if (!hasWindow_) {
        return;
    }
    bar_->setRange(lower, upper);
    lower_ = lower;
    upper_ = upper;
    step_ = step;
}

void CProgressWnd::SetText(const std::string& text) {
    SetText(QString::fromStdString(text));
}

void CProgressWnd::SetText(const QString& text) {
    if (hasWindow_) {
        label_->setText(text);
    }
}

void CProgressWnd::SetPos(int position) {
    if (!hasWindow_) {
        return;
    }
    if (!isVisible()) {
        show();
        repaint();
    }
    // The lower bound is not taken off the position: callers count from 0.
    // A long build that steps past its range shows a full window, never more
    // than 100 %; the position itself keeps every step.
    const int percent = upper_ > lower_
                            ? static_cast<int>(std::clamp<qint64>(
                                  qint64{position} * 100 / (qint64{upper_} - lower_), 0, 100))
                            : 0;
    if (percent != previousPercent_) {
        previousPercent_ = percent;
        setWindowTitle(QStringLiteral("%1 [%2%]").arg(title_).arg(percent));
    }
    bar_->setValue(std::clamp(position, std::min(lower_, upper_), std::max(lower_, upper_)));
    previousPosition_ = position;
}

void CProgressWnd::StepIt() {
    SetPos(previousPosition_ + step_);
}

bool CProgressWnd::PeekAndPump(bool cancelOnEscape) {
    if (modal_ && hasWindow_ && !isActiveWindow()) {
        activateWindow();
        setFocus();
    }
    if (cancelled_) {
        return false;
    }
    cancelOnEscape_ = cancelOnEscape;
    qApp->installEventFilter(this);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    return !cancelled_;
}

bool CProgressWnd::eventFilter(QObject* watched, QEvent* event) {
    // Escape cancels wherever it was typed; it is meant for us, so no other
    // window sees it.
    if (cancelOnEscape_ && !cancelled_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CProgressWnd::Cancel() {
    cancelled_ = true;
    hide();
    if (modal_) {
        CloseWindow();
    }
    if (QWidget* main = MainWindow()) {
        main->raise();
        main->activateWindow();
    }
}

void CProgressWnd::CloseWindow() {
    if (settings_) {
        settings_->WriteInt(quillory::setting::kSection, quillory::setting::kProgressX, pos().x());
        settings_->WriteInt(quillory::setting::kSection, quillory::setting::kProgressY, pos().y());
    }
    if (modal_) {
        modal_ = false;
        if (QWidget* main = MainWindow()) {
            main->setEnabled(true);
        }
    }
    hide();
    hasWindow_ = false;
}

std::unique_ptr<CProgressWnd> OpenOneLineProgress(QWidget* parent, quillory::Settings& settings,
                                                  const QString& caption) {
    auto progress = std::make_unique<CProgressWnd>(parent, caption, false, &settings);
    progress->SetWindowSize(1, kOneLineWidth);
    progress->GoModal(QStringLiteral("Progress"));
    return progress;
}

std::unique_ptr<quillory::Progress> OpenBuildProgress(QWidget* parent, quillory::Settings& settings,
                                                      const std::string& caption) {
    return OpenOneLineProgress(parent, settings, QString::fromStdString(caption));
}
