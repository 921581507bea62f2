// The help window: the help pages in the program's own content view, with
// back, forward and the index. The program has one; closing only hides it,
// so it keeps its place and its history.
#pragma once

#include <QMainWindow>

class CQuilloryView;
class QAction;

class CHelpWnd : public QMainWindow {
    Q_OBJECT
public:
    // Starts on the help index, hidden.
    CHelpWnd();

    // Shows the window on top, at the page it showed last.
    void BringToFront();
    void ShowIndex();

    CQuilloryView& View() const { return *view_; }

protected:
    QMenu* createPopupMenu() override;

private:
    QAction* AddCommand(const QString& name, const QString& text, const QString& tip,
                        const QString& icon);
    void UpdateCommandStates();

    CQuilloryView* view_;
    QAction* back_;
    QAction* forward_;
};
