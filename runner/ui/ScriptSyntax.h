#pragma once

// The script dialect's tokens as the editor colours them, one line at a time. A line is
// scanned from the state the previous line ended in, so strings and the Base64 definitions
// of Access objects may run over several lines.

#include <QStringView>

#include <vector>

namespace runner::ui {

enum class SyntaxState : int { Normal = 0, SingleQuoted = 1, DoubleQuoted = 2, Base64 = 3 };

enum class SyntaxKind { Keyword, Name, String, Comment, Base64 };

struct SyntaxSpan {
    int start;
    int length;
    SyntaxKind kind;
};

// Appends the spans of line (without its line break) to spans and returns the state at its
// end. Only lines that begin with "--" are comments: the runner drops exactly those.
SyntaxState scanLine(QStringView line, SyntaxState start, std::vector<SyntaxSpan>& spans);
// The same state, without collecting spans (for lines that are not shown).
SyntaxState endState(QStringView line, SyntaxState start);

} // namespace runner::ui
