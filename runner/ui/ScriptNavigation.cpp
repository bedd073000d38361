#include "runner/ui/ScriptNavigation.h"

#include <QTextBlock>
#include <QTextDocument>

namespace runner::ui {

std::optional<int> reportedLineNumber(QStringView reportLine) {
    qsizetype tab = reportLine.indexOf(u'\t');
    if (tab <= 0 || tab > 10)
        return std::nullopt;
    bool ok = false;
    int number = reportLine.left(tab).toInt(&ok);
    if (!ok || number <= 0 || !reportLine.left(tab).front().isDigit())
        return std::nullopt;
    return number;
}

QTextCursor statementAt(QTextDocument* document, int lineNumber) {
    QTextBlock first = document->findBlockByNumber(lineNumber - 1);
    if (!first.isValid())
        return {};
    QTextBlock last = first;
    while (!last.text().trimmed().endsWith(u';') && last.next().isValid())
        last = last.next();
    QTextCursor cursor(document);
    // Anchored at the end, so that the cursor itself stands on the statement's first line.
    cursor.setPosition(last.position() + last.length() - 1);
    cursor.setPosition(first.position(), QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace runner::ui
