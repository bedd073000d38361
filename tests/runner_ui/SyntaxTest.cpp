// The editor's colouring: the dialect's tokens, states that run over lines, and formats set
// only where the editor shows the script.

#include "WindowTestSupport.h"

#include "foundation/platform/qt/CEditRion.h"
#include "runner/ui/ScriptHighlighter.h"
#include "runner/ui/ScriptSyntax.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

using runner::ui::SyntaxKind;
using runner::ui::SyntaxSpan;
using runner::ui::SyntaxState;

struct Token {
    QString text;
    SyntaxKind kind;
    bool operator==(const Token&) const = default;
};

void PrintTo(const Token& token, std::ostream* out) {
    *out << token.text.toStdString() << ':' << int(token.kind);
}

std::vector<Token> tokens(const QString& line, SyntaxState start = SyntaxState::Normal,
                          SyntaxState* end = nullptr) {
    std::vector<SyntaxSpan> spans;
    SyntaxState state = runner::ui::scanLine(line, start, spans);
    if (end)
        *end = state;
    EXPECT_EQ(state, runner::ui::endState(line, start)) << line.toStdString();
    std::vector<Token> result;
    for (const SyntaxSpan& span : spans)
        result.push_back({line.mid(span.start, span.length), span.kind});
    return result;
}

TEST(ScriptSyntax, KeywordsNamesStringsAndComments) {
    EXPECT_EQ(tokens("alter TABLE [My Table] ADD [Col] TEXT(5) DEFAULT 'a''b' -- x"),
              (std::vector<Token>{{"alter", SyntaxKind::Keyword},
                                  {"TABLE", SyntaxKind::Keyword},
                                  {"[My Table]", SyntaxKind::Name},
                                  {"ADD", SyntaxKind::Keyword},
                                  {"[Col]", SyntaxKind::Name},
                                  {"TEXT", SyntaxKind::Keyword},
                                  {"DEFAULT", SyntaxKind::Keyword},
                                  {"'a'", SyntaxKind::String},
                                  {"'b'", SyntaxKind::String}}));
    // Only a line that begins with "--" is a comment, as the runner drops only those.
    EXPECT_EQ(tokens("  -- SELECT [x]"),
              (std::vector<Token>{{"-- SELECT [x]", SyntaxKind::Comment}}));
    // Words that merely contain keywords are no keywords.
    EXPECT_TRUE(tokens("Selection Tables").empty());
}

TEST(ScriptSyntax, Base64DefinitionsAndStringsRunOverLines) {
    SyntaxState state;
    EXPECT_EQ(tokens("ALTER FORM [F] SET base64(\"QUJD", SyntaxState::Normal, &state),
              (std::vector<Token>{{"ALTER", SyntaxKind::Keyword},
                                  {"FORM", SyntaxKind::Keyword},
                                  {"[F]", SyntaxKind::Name},
                                  {"SET", SyntaxKind::Keyword},
                                  {"base64", SyntaxKind::Keyword},
                                  {"\"QUJD", SyntaxKind::Base64}}));
    EXPECT_EQ(state, SyntaxState::Base64);
    EXPECT_EQ(tokens("-- not a comment inside", state, &state),
              (std::vector<Token>{{"-- not a comment inside", SyntaxKind::Base64}}));
    EXPECT_EQ(tokens("REVG\");", state, &state),
              (std::vector<Token>{{"REVG\"", SyntaxKind::Base64}}));
    EXPECT_EQ(state, SyntaxState::Normal);

    EXPECT_EQ(tokens("VALUES ('first", SyntaxState::Normal, &state).back(),
              (Token{"'first", SyntaxKind::String}));
    EXPECT_EQ(state, SyntaxState::SingleQuoted);
    EXPECT_EQ(tokens("line') [x]", state, &state),
              (std::vector<Token>{{"line'", SyntaxKind::String}, {"[x]", SyntaxKind::Name}}));
    EXPECT_EQ(state, SyntaxState::Normal);
}

// The colours of a block, or none when it was never formatted.
bool formatted(const QTextBlock& block) {
    return !block.layout()->formats().isEmpty();
}

TEST(ScriptHighlighter, FormatsOnlyWhatIsShownAndFollowsTheScroll) {
    testApplication();
    CEditRion editor;
    new runner::ui::ScriptHighlighter(&editor);
    editor.resize(400, 300);
    editor.show();
    // A long Base64 block that opens at the top and closes near the end.
    QString script = "ALTER FORM [F] SET base64(\"QUJD\n";
    for (int i = 0; i < 20000; ++i)
        script += "QUJDREVG\n";
    script += "REVG\");\nCREATE TABLE [T] ([Id] LONG);\n";
    editor.setPlainText(script);
    QApplication::processEvents();

    QTextDocument* document = editor.document();
    EXPECT_TRUE(formatted(document->firstBlock()));
    EXPECT_FALSE(formatted(document->findBlockByNumber(10000)));
    EXPECT_FALSE(formatted(document->lastBlock().previous()));

    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum());
    QApplication::processEvents();
    QTextBlock closing = document->lastBlock().previous().previous();
    ASSERT_TRUE(closing.text().startsWith("REVG"));
    ASSERT_TRUE(formatted(closing));
    EXPECT_EQ(closing.layout()->formats().first().format.foreground().color(),
              QColor(0x98, 0x98, 0x98))
        << "the Base64 state carried over 20000 lines";
    EXPECT_FALSE(formatted(document->findBlockByNumber(10000)));

    // Closing the block at the top turns the lines below it into plain script.
    QTextCursor top(document->firstBlock());
    top.movePosition(QTextCursor::EndOfBlock);
    top.insertText("\");");
    QApplication::processEvents();
    EXPECT_NE(closing.layout()->formats().first().format.foreground().color(),
              QColor(0x98, 0x98, 0x98));
}

} // namespace
