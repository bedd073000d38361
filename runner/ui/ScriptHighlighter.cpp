#include "runner/ui/ScriptHighlighter.h"

#include "runner/ui/ScriptSyntax.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace runner::ui {

namespace {

// Marks a block as formatted, and from which start state: a block whose predecessor now
// ends differently must be formatted again.
class FormattedMark : public QTextBlockUserData {
public:
    explicit FormattedMark(int start) : start(start) {}
    int start;
};

QTextCharFormat colour(const QColor& colour, bool bold = false, bool italic = false) {
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

} // namespace

ScriptHighlighter::ScriptHighlighter(QPlainTextEdit* editor) : QObject(editor), editor_(editor) {
    formats_[int(SyntaxKind::Keyword)] = colour(QColor(0x00, 0x00, 0xa0), true);
    formats_[int(SyntaxKind::Name)] = colour(QColor(0x00, 0x60, 0x70));
    formats_[int(SyntaxKind::String)] = colour(QColor(0xa0, 0x20, 0x20));
    formats_[int(SyntaxKind::Comment)] = colour(QColor(0x20, 0x80, 0x20), false, true);
    formats_[int(SyntaxKind::Base64)] = colour(QColor(0x98, 0x98, 0x98));

    connect(editor->document(), &QTextDocument::contentsChange, this,
            &ScriptHighlighter::contentsChanged);
    connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ScriptHighlighter::schedule);
    editor->viewport()->installEventFilter(this);
    schedule();
}

bool ScriptHighlighter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        schedule();
    return QObject::eventFilter(watched, event);
}

void ScriptHighlighter::contentsChanged(int position, int removed, int added) {
    // Setting formats marks the block dirty, which reports a change of its own.
    if (formatting_)
        return;
    QTextDocument* document = editor_->document();
    QTextBlock first = document->findBlock(position);
    QTextBlock last = document->findBlock(position + std::max(removed, added));
    if (!last.isValid())
        last = document->lastBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        block.setUserData(nullptr);
        if (block == last)
            break;
    }
    knownStates_ = std::min(knownStates_, first.blockNumber());
    schedule();
}

void ScriptHighlighter::schedule() {
    if (scheduled_)
        return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        highlightVisible();
    });
}

int ScriptHighlighter::startState(const QTextBlock& block) {
    QTextDocument* document = editor_->document();
    int number = block.blockNumber();
    if (number == 0)
        return int(SyntaxState::Normal);
    QTextBlock scan = document->findBlockByNumber(knownStates_);
    while (knownStates_ < number && scan.isValid()) {
        int start = knownStates_ == 0 ? int(SyntaxState::Normal) : scan.previous().userState();
        scan.setUserState(int(endState(scan.text(), SyntaxState(start))));
        ++knownStates_;
        scan = scan.next();
    }
    return block.previous().userState();
}

void ScriptHighlighter::format(QTextBlock& block, int start) {
    std::vector<SyntaxSpan> spans;
    int end = int(scanLine(block.text(), SyntaxState(start), spans));
    if (block.blockNumber() < knownStates_ && block.userState() != end)
        knownStates_ = block.blockNumber(); // the blocks below start differently now
    block.setUserState(end);
    knownStates_ = std::max(knownStates_, block.blockNumber() + 1);

    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(qsizetype(spans.size()));
    for (const SyntaxSpan& span : spans)
        ranges.push_back({span.start, span.length, formats_[int(span.kind)]});
    block.layout()->setFormats(ranges);
    block.setUserData(new FormattedMark(start));
    formatting_ = true;
    editor_->document()->markContentsDirty(block.position(), block.length());
    formatting_ = false;
}

void ScriptHighlighter::highlightVisible() {
    QTextBlock block = editor_->cursorForPosition(QPoint(0, 0)).block();
    QTextBlock last = editor_->cursorForPosition(QPoint(0, editor_->viewport()->height())).block();
    for (; block.isValid(); block = block.next()) {
        int start = startState(block);
        auto* mark = static_cast<FormattedMark*>(block.userData());
        if (!mark || mark->start != start)
            format(block, start);
        if (block == last)
            break;
    }
}

} // namespace runner::ui
