#pragma once

// From a line of a run's report back to the statement in the editor: a report line that
// names a command begins with the command's line number and a tab.

#include <QStringView>
#include <QTextCursor>

#include <optional>

class QTextDocument;

namespace runner::ui {

// The line number a report line begins with, when it begins with one followed by a tab.
std::optional<int> reportedLineNumber(QStringView reportLine);

// A cursor selecting the statement that starts on the line (1-based): up to the end of the
// first line, from there on, whose last non-blank character is ";". A null cursor when the
// document has no such line.
QTextCursor statementAt(QTextDocument* document, int lineNumber);

} // namespace runner::ui
