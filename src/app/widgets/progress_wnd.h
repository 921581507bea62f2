// The small always-on-top window long operations show while they run on the
// user-interface thread: a caption with the percentage done, one line of
// text and a bar. The operation drives it step by step and lets it pump
// events between steps; Escape during a pump cancels.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "core/host/host.h"

class QLabel;
class QProgressBar;

class CProgressWnd : public QWidget, public quillory::Progress {
    Q_OBJECT
public:
    // parent is the owner (none when null; while modal the owner's
    // top-level window, the main menu for a frame, is disabled); settings
    // keep the window's position ("X", "Y" of "Settings"), none when null.
    CProgressWnd(QWidget* parent, const QString& title, bool smooth = false,
                 quillory::Settings* settings = nullptr);
    ~CProgressWnd() override;

    // Lays the window out for that many text lines, width pixels wide.
    void SetWindowSize(int lines, int width);
    // Disables the owner's top-level window while the operation runs. The
    // title only counts when the window had been closed.
    void GoModal(const QString& title = QStringLiteral("Progress"), bool smooth = false);

    void SetRange(int lower, int upper, int step) override;
    void SetText(const std::string& text) override;
    void SetText(const QString& text);
    void SetPos(int position) override;
    void StepIt() override;
    // Handles pending events; false once the user cancelled.
    bool PeekAndPump(bool cancelOnEscape) override;

    bool Cancelled() const { return cancelled_; }
    // False after the window was closed by a cancel while modal: every
    // operation then does nothing.
    bool HasWindow() const { return hasWindow_; }
    QString Title() const { return title_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateWindow(const QString& title, bool smooth);
    void RestorePosition();
    void Cancel();
    void CloseWindow();
    // The outermost window above the owner; null without an owner.
    QWidget* MainWindow() const;

    QString title_ = QStringLiteral("Progress");
    QString cancelLabel_ = QStringLiteral(" Cancel ");
    int lines_ = 4;
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 1;
    int previousPosition_ = 0;
    int previousPercent_ = -1;  // none shown yet, so the first position shows [0%]
    bool cancelled_ = false;
    bool modal_ = false;
    bool hasWindow_ = false;
    bool cancelOnEscape_ = false;
    QString text_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    quillory::Settings* settings_ = nullptr;
};

// The window of a long operation (a generation, printing, the import, an
// analysis build), shown modal over parent with its caption: one line of
// text, 390 pixels wide.
std::unique_ptr<CProgressWnd> OpenOneLineProgress(QWidget* parent, quillory::Settings& settings,
                                                  const QString& caption);
// The same, as the opener the core's long builds ask for.
std::unique_ptr<quillory::Progress> OpenBuildProgress(QWidget* parent, quillory::Settings& settings,
                                                      const std::string& caption);
