// The program's main window: a small dialog with one button per module. It
// makes the six module frames hidden at start, shows them on request, keeps
// the order of those on screen and brings them back when the program is
// restored from the task bar. Closing it ends the program.
#pragma once

#include <QDialog>
#include <QList>
#include <array>
#include <functional>
#include <vector>

#include "core/generation/paper_generation.h"
#include "frame/module_table.h"

class CBankSession;
class CQuilloryFrame;
class QPushButton;

class CMainMenuDlg : public QDialog {
    Q_OBJECT
public:
    // Makes the frames in the module table's order, hidden, owned by the given window.
    using FrameFactory = std::function<std::vector<CQuilloryFrame*>(CBankSession&, QWidget*)>;

    explicit CMainMenuDlg(CBankSession& bank, FrameFactory factory = {});
    ~CMainMenuDlg() override;

    // Shows the menu, then makes the frames; requests are ignored meanwhile.
    // Then offers to go on with an exam left unfinished on the data file.
    void Initialize();

    bool IsBusy() const { return busy_; }
    CQuilloryFrame* Frame(Module module) const { return frames_[IndexOf(module)]; }
    // Frames on screen, least recent first.
    const QList<CQuilloryFrame*>& ShownFrames() const { return shown_; }

    // A module button: fills the frame's tree the first time, then shows it
    // on top of the others.
    void ShowModule(Module module);
    // Another start on the same data file asks for the running program.
    void BringToFront();

signals:
    // "退出系统" or the close box: the program ends.
    void exitRequested();
    // "使用帮助" here or in a frame: the program's help window, over asker.
    void helpRequested(QWidget* asker);

public slots:
    void OnStartExam(CQuilloryFrame* sender, int paperId);
    void OnReviewExam(CQuilloryFrame* sender, int historyId);
    // The practice papers frame makes the paper, then comes to the front.
    void OnTargetedPaper(const quillory::TargetedPaperRequest& request);
    void OnRedoMistakes(int knowledgeId);
    void OnModuleClosed(CQuilloryFrame* frame);
    void OnQuestionsImported();
    void MinimizeApplication();

public:
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class ExamMode { Paper = 1, Review = 4 };

    void LayOut();
    QPushButton* AddButton(const QString& text, const QRect& dialogUnits);
    QRect ToPixels(const QRect& dialogUnits) const;
    void OpenExamFrame(ExamMode mode, int id);
    void OfferUnfinishedExam();
    void RaiseFrame(CQuilloryFrame* frame);
    void ShowFrame(CQuilloryFrame* frame);
    void RestoreShownFrames();
    void EndProgram();

    CBankSession& bank_;
    FrameFactory factory_;
    std::array<CQuilloryFrame*, kModuleCount> frames_{};
    QList<CQuilloryFrame*> shown_;
    bool busy_ = false;
    bool ending_ = false;
    QSize baseUnits_;
};
