#pragma once

// Colours the script dialect in an editor, lazily: only the blocks on screen get their
// formats, when they come into view or change. A highlighter that formats the whole
// document at once would keep the window frozen for seconds after a script of several
// megabytes is opened. Each block remembers, in its user state, the lexical state it ends
// in; blocks above the screen are scanned for that state only, which is cheap.

#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>

class QPlainTextEdit;
class QTextBlock;

namespace runner::ui {

class ScriptHighlighter : public QObject {
public:
    // Attaches itself to the editor and its document; owned by the editor.
    explicit ScriptHighlighter(QPlainTextEdit* editor);

    // Formats the blocks that are on screen now (normally done from the event loop).
    void highlightVisible();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void contentsChanged(int position, int removed, int added);
    void schedule();
    // The state a block starts in; scans, without formatting, the blocks above it whose
    // states are not known yet.
    int startState(const QTextBlock& block);
    void format(QTextBlock& block, int start);

    QPlainTextEdit* editor_;
    // Blocks 0 to knownStates_ - 1 hold their true end state.
    int knownStates_ = 0;
    bool scheduled_ = false;
    bool formatting_ = false;
    QTextCharFormat formats_[5];
};

} // namespace runner::ui
