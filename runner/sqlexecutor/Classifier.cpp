#include "runner/sqlexecutor/Classifier.h"

#include "runner/sqlexecutor/AccessObjectCommands.h"
#include "runner/sqlexecutor/Base64.h"
#include "runner/sqlexecutor/Blanks.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/ForeignKeyCommand.h"
#include "runner/sqlexecutor/LinkCommands.h"
#include "runner/sqlexecutor/ParametrizedCommands.h"
#include "runner/sqlexecutor/Pattern.h"
#include "runner/sqlexecutor/QueryCommands.h"

#include "foundation/text/WideString.h"

#include <climits>
#include <optional>
#include <span>

namespace SQLExecutor {

namespace {

using Groups = Pattern::Groups;
using Command = std::unique_ptr<SQLCommand>;

std::u16string withoutBrackets(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (char16_t c : text) {
        if (c != u'[' && c != u']')
            result += c;
    }
    return result;
}

// The leading decimal integer as _wtoi reads it: white space, a sign, digits; 0 when there
// is none, clamped to the int range.
int leadingInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

std::optional<int> accessObjectKind(std::u16string_view word) {
    if (text::equalsNoCase(word, u"form"))
        return AccessObjectKind::Form;
    if (text::equalsNoCase(word, u"module"))
        return AccessObjectKind::Module;
    if (text::equalsNoCase(word, u"macro"))
        return AccessObjectKind::Macro;
    if (text::equalsNoCase(word, u"report"))
        return AccessObjectKind::Report;
    return std::nullopt;
}

std::vector<std::u16string> splitList(std::u16string_view list) {
    std::vector<std::u16string> items;
    for (;;) {
        std::size_t comma = list.find(u',');
        items.emplace_back(trimmed(list.substr(0, comma), isWhiteSpace));
        if (comma == std::u16string_view::npos)
            return items;
        list.remove_prefix(comma + 1);
    }
}

Command insertChr(std::u16string& statement, std::int64_t line, const Groups& g) {
    std::u16string table(g[1]), columns(g[2]), values(g[3]);
    return std::make_unique<SQLCommandInsertChr>(std::move(statement), line, table, columns,
                                                 values);
}

Command update(std::u16string& statement, std::int64_t line, const Groups& g) {
    std::u16string table(g[1]), assignments(g[2]), condition(g[4]);
    return std::make_unique<SQLCommandUpdate>(std::move(statement), line, table, assignments,
                                              condition);
}

Command foreignKeyNoIndex(std::u16string& statement, std::int64_t line, const Groups& g) {
    SQLCommandAddConstraintNoIndex::Fields fields;
    fields.table = withoutBrackets(g[1]);
    fields.constraintName = withoutBrackets(g[2]);
    fields.referencedTable = withoutBrackets(g[5]);
    std::u16string unique = withoutBrackets(g[3]);
    fields.unique = unique.size() >= 2 && (unique[0] == u'U' || unique[0] == u'u');

    std::u16string cascade;
    for (char16_t c : g[7]) {
        if (!isWhiteSpace(c))
            cascade += text::asciiLower(c);
    }
    fields.updateCascades = cascade.find(u"onupdatecascade") != std::u16string::npos;
    fields.deleteCascades = cascade.find(u"ondeletecascade") != std::u16string::npos;

    std::u16string columns = withoutBrackets(g[4]);
    std::u16string referenced = withoutBrackets(g[6]);
    std::vector<std::u16string> from = splitList(trimmed(columns, isLineBlank));
    std::vector<std::u16string> to = splitList(trimmed(referenced, isLineBlank));
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i)
        fields.columns.push_back({std::move(from[i]), std::move(to[i])});
    return std::make_unique<SQLCommandAddConstraintNoIndex>(std::move(statement), line,
                                                            std::move(fields));
}

Command createView(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandCreateView>(std::move(statement), line, withoutBrackets(g[1]),
                                                  std::u16string(g[2]));
}

Command createProcedure(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandCreateProcedure>(std::move(statement), line,
                                                       withoutBrackets(g[1]), std::u16string(g[3]),
                                                       std::u16string(g[2]));
}

template <typename Link>
Command link(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<Link>(std::move(statement), line, withoutBrackets(g[1]),
                                  std::u16string(g[3]), withoutBrackets(g[2]));
}

Command addValidationRule(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAlterValidationRule>(
        std::move(statement), line, std::u16string(g[1]), std::u16string(g[2]),
        std::u16string(g[3]));
}

Command dropValidationRule(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAlterValidationRule>(
        std::move(statement), line, std::u16string(g[1]), std::u16string(g[2]), u"");
}

Command zeroLength(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAlterZeroLength>(std::move(statement), line,
                                                       std::u16string(g[1]), std::u16string(g[3]),
                                                       text::equalsNoCase(g[2], u"allow"));
}

Command calculatedExpression(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAlterCalculatedFieldExpression>(
        std::move(statement), line, std::u16string(g[1]), std::u16string(g[2]),
        std::u16string(g[3]));
}

Command attachment(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAddAttachment>(std::move(statement), line,
                                                     std::u16string(g[1]), std::u16string(g[2]));
}

Command format(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAlterFormat>(std::move(statement), line, std::u16string(g[1]),
                                                   std::u16string(g[2]), std::u16string(g[3]));
}

Command decimalPlaces(std::u16string& statement, std::int64_t line, const Groups& g) {
    int places = text::equalsNoCase(g[3], u"auto") ? SQLCommandAlterDecimalPlaces::automatic
                                                   : leadingInt(g[3]);
    return std::make_unique<SQLCommandAlterDecimalPlaces>(
        std::move(statement), line, std::u16string(g[1]), std::u16string(g[2]), places);
}

// Whether the text before DEFAULT holds an ADD COLUMN or ALTER COLUMN clause outside
// brackets: then the statement is a column definition whose default text happens to contain
// " SET ", and the engine must run it.
bool holdsColumnClause(std::u16string_view text) {
    std::u16string_view previous;
    std::size_t depth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == u'[' || text[i] == u']') {
            if (text[i] == u'[')
                ++depth;
            else if (depth > 0)
                --depth;
            previous = {};
            ++i;
            continue;
        }
        if (depth || isWhiteSpace(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isWhiteSpace(text[end]) && text[end] != u'[')
            ++end;
        std::u16string_view word = text.substr(i, end - i);
        if (text::equalsNoCase(word, u"column") &&
            (text::equalsNoCase(previous, u"add") || text::equalsNoCase(previous, u"alter")))
            return true;
        previous = word;
        i = end;
    }
    return false;
}

Command defaultValue(std::u16string& statement, std::int64_t line, const Groups& g) {
    if (holdsColumnClause(g[1]))
        return nullptr;
    return std::make_unique<SQLCommandAlterDefaultValue>(
        std::move(statement), line, withoutBrackets(g[1]), withoutBrackets(g[2]),
        std::u16string(g[3]));
}

Command tableDataMacro(std::u16string& statement, std::int64_t line, const Groups& g) {
    return std::make_unique<SQLCommandAlterTableDataMacro>(
        std::move(statement), line, withoutBrackets(g[1]), decodeBase64(g[2]));
}

Command alterAccessObject(std::u16string& statement, std::int64_t line, const Groups& g) {
    std::optional<int> kind = accessObjectKind(g[1]);
    if (!kind)
        return nullptr;
    return std::make_unique<SQLCommandAlterAccessObject>(
        std::move(statement), line, withoutBrackets(g[2]), *kind, decodeBase64(g[3]));
}

Command dropAccessObject(std::u16string& statement, std::int64_t line, const Groups& g) {
    // Removing a table's data macros means importing an empty definition.
    if (text::equalsNoCase(g[1], u"table data macro"))
        return std::make_unique<SQLCommandAlterAccessObject>(
            std::move(statement), line, std::u16string(g[2]), AccessObjectKind::TableDataMacro,
            Bytes{0});
    std::optional<int> kind = accessObjectKind(g[1]);
    if (!kind)
        return nullptr;
    return std::make_unique<SQLCommandDropAccessObject>(std::move(statement), line,
                                                        std::u16string(g[2]), *kind);
}

struct Classifier {
    char16_t firstLetter;
    Pattern pattern;
    Command (*build)(std::u16string& statement, std::int64_t line, const Groups& groups);
};

// Tried in this order; the first that matches decides. Every statement of these forms
// begins with the given letter, so most statements are spared most expressions.
std::span<const Classifier> classifiers() {
    static const Classifier all[] = {
        {u'I',
         Pattern(
             uR"re(^INSERT\s+INTO\s+(.+?)\s+\((.*?)\)\s+VALUES\s+\((.*?(chr|base64|1\.\#QNAN|1\.\#INF).*?)\)$)re"),
         insertChr},
        {u'U',
         Pattern(uR"re(^UPDATE\s+(.+?)\s+SET\s+(.+?(chr|base64)\(.+?\).*)\s+WHERE\s+(.+?)$)re"),
         update},
        {u'A',
         Pattern(
             uR"re(^ALTER\s+TABLE\s+(.+?)\s+ADD\s+CONSTRAINT\s+(.+?)\s+FOREIGN\s+KEY\s+(NO\s+INDEX\s+|UNIQUE\s+)\((.*?)\)\s+REFERENCES\s+(.+?)\s+\((.*?)\)(\s+ON\s+UPDATE\s+CASCADE|\s+ON\s+DELETE\s+CASCADE|\s+ON\s+UPDATE\s+CASCADE\s+ON\s+DELETE\s+CASCADE|\s+ON\s+DELETE\s+CASCADE\s+ON\s+UPDATE\s+CASCADE)?$)re"),
         foreignKeyNoIndex},
        {u'C', Pattern(uR"re(^CREATE\s+VIEW\s+\[(.+?)\]\s+AS\s+(.*)$)re"), createView},
        {u'C', Pattern(uR"re(^CREATE\s+PROCEDURE\s+(.+?)\s+\((.*?)\)\s+AS\s+(.*)$)re"),
         createProcedure},
        {u'L', Pattern(uR"re(^LINK\s+TABLE\s+(\[.+?\])\s+TO\s+(\[.+?\])\s+ODBC\s+\"(.+?)\"$)re"),
         link<SQLCommandLinkODBC>},
        {u'L', Pattern(uR"re(^LINK\s+TABLE\s+(\[.+?\])\s+TO\s+(\[.+?\])\s+SRC\s+\"(.+?)\"$)re"),
         link<SQLCommandLinkAccess>},
        {u'A',
         Pattern(
             uR"re(^ALTER\s+TABLE\s+\[(.+s?)\]\s+ADD\s+CONSTRAINT\s+\[\[(.+?)\]\.ValidationRule\]\s+CHECK\s+\((.+?)\)$)re"),
         addValidationRule},
        {u'A',
         Pattern(
             uR"re(^ALTER\s+TABLE\s+\[(.+?)\]\s+DROP\s+CONSTRAINT\s+\[\[(.+?)\]\.ValidationRule\]$)re"),
         dropValidationRule},
        {u'A',
         Pattern(uR"re(^ALTER\s+TABLE\s+\[(.+s?)\]\s+(ALLOW|DENY)\s+ZERO\s+LENGTH\s+\[(.+?)\]$)re"),
         zeroLength},
        {u'A',
         Pattern(uR"re(^ALTER\s+TABLE\s+\[(.+s?)\]\s+EXPRESSION\s+\[(.+?)\]\s+SET\s+\"(.*?)\"$)re"),
         calculatedExpression},
        {u'A',
         Pattern(uR"re(^ALTER\s+TABLE\s+\[(.+s?)\]\s+ADD COLUMN\s+\[(.+?)\]\s+ATTACHMENT$)re"),
         attachment},
        {u'A',
         Pattern(uR"re(^ALTER\s+TABLE\s+\[(.+s?)\]\s+FORMAT\s+\[(.+?)\]\s+SET\s+\"(.*?)\"$)re"),
         format},
        {u'A',
         Pattern(
             uR"re(^ALTER\s+TABLE\s+\[(.+s?)\]\s+DECIMAL\s+PLACES\s+\[(.+?)\]\s+SET\s+(.*?)$)re"),
         decimalPlaces},
        {u'A', Pattern(uR"re(^ALTER\s+TABLE\s+(.+?)\s+DEFAULT\s(.+?)\s+SET\s+(.+?)$)re"),
         defaultValue},
        {u'A',
         Pattern(uR"re(^ALTER\s+TABLE\s+(.+?)\s+DATA\s+MACRO\s+SET\s+base64\(\"(.+?)\"\)$)re"),
         tableDataMacro},
        {u'A', Pattern(uR"re(^ALTER\s+(\S+)\s+(.+?)\s+SET\s+base64\(\"(.+?)\"\)$)re"),
         alterAccessObject},
        {u'D', Pattern(uR"re(^DROP\s+(.+)\s+\[(.+?)\]$)re"), dropAccessObject},
    };
    return all;
}

} // namespace

std::unique_ptr<SQLCommand> classifyStatement(std::u16string statement, std::int64_t line) {
    char16_t first = statement.empty() ? u'\0' : text::asciiUpper(statement.front());
    for (const Classifier& classifier : classifiers()) {
        if (first != classifier.firstLetter)
            continue;
        std::optional<Groups> groups = classifier.pattern.match(statement);
        if (!groups)
            continue;
        if (Command command = classifier.build(statement, line, *groups))
            return command;
    }
    return std::make_unique<SQLCommand>(std::move(statement), line);
}

} // namespace SQLExecutor
