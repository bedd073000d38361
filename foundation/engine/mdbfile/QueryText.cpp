#include "foundation/engine/mdbfile/QueryText.h"

#include "foundation/engine/mdbfile/JetTypes.h"
#include "foundation/text/WideString.h"

#include <memory>

namespace engine::mdbfile {

namespace {

namespace attribute {
constexpr int type = 1;
constexpr int parameter = 2;
constexpr int flags = 3;
constexpr int remoteDatabase = 4;
constexpr int table = 5;
constexpr int column = 6;
constexpr int join = 7;
constexpr int where = 8;
constexpr int groupBy = 9;
constexpr int having = 10;
constexpr int orderBy = 11;
} // namespace attribute

namespace querytype {
constexpr int select = 1;
constexpr int makeTable = 2;
constexpr int append = 3;
constexpr int update = 4;
constexpr int remove = 5;
constexpr int crosstab = 6;
constexpr int dataDefinition = 7;
constexpr int passThrough = 8;
constexpr int unionQuery = 9;
} // namespace querytype

namespace selectflag {
constexpr int star = 0x01;
constexpr int distinct = 0x02;
constexpr int ownerAccess = 0x04;
constexpr int distinctRow = 0x08;
constexpr int top = 0x10;
constexpr int percent = 0x20;
} // namespace selectflag

constexpr int appendValueFlag = 0x8000;
constexpr int crosstabPivotFlag = 0x01;
constexpr int crosstabGroupFlag = 0x02;
constexpr int unionDistinctFlag = 0x02;
constexpr std::u16string_view unionFirstPart = u"X7YZ_____1";
constexpr std::u16string_view unionSecondPart = u"X7YZ_____2";
constexpr int defaultTextParameterSize = 255;
constexpr std::u16string_view newline = u"\r\n";

// Rows that cannot be written as a query.
struct Unwritable {};

bool isWordChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c >= 0x80;
}

bool isBracketed(std::u16string_view name) {
    return name.size() >= 2 && name.front() == u'[' && name.back() == u']';
}

// A name as the engine writes it: in brackets when it holds anything but letters, digits and
// underscores.
std::u16string quoted(std::u16string_view name) {
    if (isBracketed(name))
        return std::u16string(name);
    for (char16_t c : name)
        if (!isWordChar(c))
            return u"[" + std::u16string(name) + u"]";
    return std::u16string(name);
}

// A dotted name (table.column) with each part quoted on its own.
std::u16string quotedPath(std::u16string_view path) {
    if (isBracketed(path))
        return std::u16string(path);
    std::u16string out;
    std::size_t start = 0;
    for (;;) {
        std::size_t dot = path.find(u'.', start);
        out += quoted(path.substr(start, dot - start));
        if (dot == std::u16string_view::npos)
            return out;
        out += u'.';
        start = dot + 1;
    }
}

std::u16string join(const std::vector<std::u16string>& items, std::u16string_view separator) {
    std::u16string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += separator;
        out += items[i];
    }
    return out;
}

std::u16string withAlias(std::u16string text, const std::u16string& alias) {
    if (!alias.empty())
        text += u" AS " + quoted(alias);
    return text;
}

// Trims and turns every run of line breaks into one "\r\n".
std::u16string normalizedLines(std::u16string_view text) {
    std::size_t begin = text.find_first_not_of(u" \t\r\n");
    std::size_t end = text.find_last_not_of(u" \t\r\n");
    if (begin == std::u16string_view::npos)
        return {};
    std::u16string out;
    bool inBreak = false;
    for (char16_t c : text.substr(begin, end - begin + 1)) {
        if (c == u'\r' || c == u'\n') {
            inBreak = true;
            continue;
        }
        if (inBreak)
            out += newline;
        inBreak = false;
        out += c;
    }
    return out;
}

std::u16string withoutTrailingNuls(std::u16string text) {
    while (!text.empty() && text.back() == u'\0')
        text.pop_back();
    return text;
}

// A table of the FROM clause, or a join of two of them.
struct Source {
    std::u16string key;  // a table: its alias, else its name
    std::u16string text; // a table: as written in FROM
    std::shared_ptr<Source> left, right;
    int joinType = 0;
    std::vector<std::u16string> conditions;

    bool contains(std::u16string_view table) const {
        return left ? left->contains(table) || right->contains(table)
                    : text::equalsNoCase(key, table);
    }

    std::u16string write(bool topLevel) const {
        if (!left)
            return text;
        std::u16string out = topLevel ? u"" : u"(";
        out += left->write(false);
        out += joinType == 1 ? u" INNER JOIN " : joinType == 2 ? u" LEFT JOIN " : u" RIGHT JOIN ";
        out += right->write(false);
        out += u" ON ";
        out += conditions.size() > 1 ? u"(" + join(conditions, u") AND (") + u")" : conditions[0];
        if (!topLevel)
            out += u")";
        return out;
    }
};

class QueryWriter {
public:
    explicit QueryWriter(const std::vector<QueryRow>& rows) : rows_(rows) {}

    int type() const { return single(attribute::type).flag; }

    std::vector<catalog::QueryParameter> parameters() const {
        std::vector<catalog::QueryParameter> result;
        for (const QueryRow* row : all(attribute::parameter)) {
            catalog::QueryParameter parameter;
            parameter.name = row->name1;
            parameter.type = jet::catalogType(row->flag, false);
            if (row->flag == jet::text)
                parameter.size = textParameterSize(*row);
            result.push_back(parameter);
        }
        return result;
    }

    std::u16string write() const {
        switch (type()) {
        case querytype::select:
            return standard(selectStatement(true));
        case querytype::makeTable:
            return standard(selectStatement(true, makeTableTarget()));
        case querytype::append:
            return standard(appendStatement());
        case querytype::update:
            return standard(updateStatement());
        case querytype::remove:
            return standard(u"DELETE " + selectStatement(false));
        case querytype::crosstab:
            return standard(crosstabStatement());
        case querytype::unionQuery:
            return standard(unionStatement());
        case querytype::dataDefinition:
        case querytype::passThrough:
            return withoutTrailingNuls(single(attribute::type).expression);
        default:
            throw Unwritable();
        }
    }

private:
    std::vector<const QueryRow*> all(int attributeCode) const {
        std::vector<const QueryRow*> result;
        for (const QueryRow& row : rows_)
            if (row.attribute == attributeCode)
                result.push_back(&row);
        return result;
    }

    const QueryRow& single(int attributeCode) const {
        static const QueryRow none;
        std::vector<const QueryRow*> found = all(attributeCode);
        if (found.size() > 1)
            throw Unwritable();
        return found.empty() ? none : *found[0];
    }

    bool hasFlag(int mask) const { return (single(attribute::flags).flag & mask) != 0; }

    static int textParameterSize(const QueryRow& row) {
        return row.extra > 0 ? row.extra : defaultTextParameterSize;
    }

    // PARAMETERS before, the owner-access option and ";" after.
    std::u16string standard(const std::u16string& statement) const {
        std::u16string out;
        std::vector<std::u16string> declared;
        for (const QueryRow* row : all(attribute::parameter)) {
            std::u16string_view typeName = jet::parameterTypeName(row->flag);
            if (typeName.empty())
                throw Unwritable();
            std::u16string declaration = quoted(row->name1) + u" " + std::u16string(typeName);
            if (row->flag == jet::text)
                declaration += u" ( " + text::toWString(textParameterSize(*row)) + u" )";
            declared.push_back(declaration);
        }
        if (!declared.empty())
            out += u"PARAMETERS " + join(declared, u", ") + u";" + std::u16string(newline);
        out += statement;
        if (hasFlag(selectflag::ownerAccess))
            out += std::u16string(newline) + u"WITH OWNERACCESS OPTION";
        return out + u";";
    }

    // DISTINCT or DISTINCTROW, then TOP n [PERCENT]; each followed by a space.
    std::u16string selectType() const {
        std::u16string out;
        if (hasFlag(selectflag::distinct))
            out = u"DISTINCT ";
        else if (hasFlag(selectflag::distinctRow))
            out = u"DISTINCTROW ";
        if (hasFlag(selectflag::top))
            out += u"TOP " + single(attribute::flags).name1 +
                   (hasFlag(selectflag::percent) ? u" PERCENT " : u" ");
        return out;
    }

    std::vector<const QueryRow*> selectedColumns() const {
        std::vector<const QueryRow*> result;
        for (const QueryRow* row : all(attribute::column)) {
            if (type() == querytype::crosstab && !(row->flag & crosstabGroupFlag))
                continue;
            if (type() == querytype::append && (row->flag & appendValueFlag))
                continue;
            result.push_back(row);
        }
        return result;
    }

    std::u16string columnList() const {
        std::vector<std::u16string> columns;
        for (const QueryRow* row : selectedColumns())
            columns.push_back(withAlias(row->expression, row->name1));
        if (hasFlag(selectflag::star))
            columns.push_back(u"*");
        return join(columns, u", ");
    }

    static std::u16string remoteDatabase(const std::u16string& path, const std::u16string& kind) {
        if (path.empty() && kind.empty())
            return {};
        std::u16string out = u" IN '" + path + u"'";
        if (!kind.empty())
            out += u" [" + kind + u"]";
        return out;
    }

    std::u16string fromRemoteDatabase() const {
        const QueryRow& remote = single(attribute::remoteDatabase);
        return remoteDatabase(remote.name1, remote.expression);
    }

    std::u16string makeTableTarget() const {
        const QueryRow& target = single(attribute::type);
        return u" INTO " + quotedPath(target.name1) +
               remoteDatabase(target.name2, target.expression);
    }

    std::vector<std::u16string> fromTables() const {
        std::vector<std::shared_ptr<Source>> sources;
        for (const QueryRow* row : all(attribute::table)) {
            auto source = std::make_shared<Source>();
            if (!row->expression.empty()) // a source in another database, or a subquery
                source->text = (isBracketed(row->expression) ? row->expression
                                                             : u"[" + row->expression + u"]") +
                               u".";
            source->text += quotedPath(row->name1);
            source->text = withAlias(source->text, row->name2);
            source->key = row->name2.empty() ? row->name1 : row->name2;
            sources.push_back(source);
        }
        for (const QueryRow* row : all(attribute::join))
            addJoin(sources, *row);
        std::vector<std::u16string> result;
        for (const auto& source : sources)
            result.push_back(source->write(true));
        return result;
    }

    // Joins the sources that hold the row's two tables; a second condition between the same
    // two tables joins them on both.
    static void addJoin(std::vector<std::shared_ptr<Source>>& sources, const QueryRow& row) {
        if (row.flag < 1 || row.flag > 3)
            throw Unwritable();
        std::shared_ptr<Source> from, to;
        for (auto it = sources.begin(); it != sources.end() && !(from && to);) {
            if (!from && (*it)->contains(row.name1)) {
                from = *it;
                if (!to && (*it)->contains(row.name2)) {
                    to = *it;
                    break;
                }
                it = sources.erase(it);
            } else if (!to && (*it)->contains(row.name2)) {
                to = *it;
                it = sources.erase(it);
            } else {
                ++it;
            }
        }
        if (from && from == to) {
            if (!from->left || from->joinType != row.flag)
                throw Unwritable();
            from->conditions.push_back(row.expression);
            return;
        }
        if (!from || !to)
            throw Unwritable();
        auto joined = std::make_shared<Source>();
        joined->left = from;
        joined->right = to;
        joined->joinType = row.flag;
        joined->conditions.push_back(row.expression);
        sources.push_back(joined);
    }

    // The statement after SELECT (or DELETE): columns, FROM, WHERE, GROUP BY, HAVING,
    // ORDER BY.
    std::u16string selectStatement(bool withSelect, const std::u16string& into = {}) const {
        std::u16string out = withSelect ? u"SELECT " + selectType() : u"";
        out += columnList() + into;
        std::vector<std::u16string> tables = fromTables();
        if (!tables.empty())
            out += std::u16string(newline) + u"FROM " + join(tables, u", ") + fromRemoteDatabase();
        const std::u16string& where = single(attribute::where).expression;
        if (!where.empty())
            out += std::u16string(newline) + u"WHERE " + where;
        std::vector<std::u16string> groups;
        for (const QueryRow* row : all(attribute::groupBy))
            if (type() != querytype::crosstab || (row->flag & crosstabGroupFlag))
                groups.push_back(row->expression);
        if (!groups.empty())
            out += std::u16string(newline) + u"GROUP BY " + join(groups, u", ");
        const std::u16string& having = single(attribute::having).expression;
        if (!having.empty())
            out += std::u16string(newline) + u"HAVING " + having;
        return out + orderBy();
    }

    std::u16string orderBy() const {
        std::vector<std::u16string> orderings;
        for (const QueryRow* row : all(attribute::orderBy))
            orderings.push_back(row->expression +
                                (text::equalsNoCase(row->name1, u"D") ? u" DESC" : u""));
        if (orderings.empty())
            return {};
        return std::u16string(newline) + u"ORDER BY " + join(orderings, u", ");
    }

    std::u16string appendStatement() const {
        const QueryRow& target = single(attribute::type);
        std::u16string out = u"INSERT INTO " + quotedPath(target.name1) +
                             remoteDatabase(target.name2, target.expression);
        std::vector<std::u16string> targetColumns, values;
        for (const QueryRow* row : all(attribute::column)) {
            if (row->flag & appendValueFlag)
                values.push_back(row->expression);
            else if (!row->name2.empty())
                targetColumns.push_back(quotedPath(row->name2));
        }
        if (!values.empty())
            return out + std::u16string(newline) + u"VALUES (" + join(values, u", ") + u")";
        if (!targetColumns.empty())
            out += u" ( " + join(targetColumns, u", ") + u" )";
        return out + std::u16string(newline) + selectStatement(true);
    }

    std::u16string updateStatement() const {
        std::vector<std::u16string> assignments;
        for (const QueryRow* row : all(attribute::column))
            assignments.push_back(quotedPath(row->name2) + u" = " + row->expression);
        std::u16string out = u"UPDATE " + join(fromTables(), u", ") + fromRemoteDatabase();
        out += std::u16string(newline) + u"SET " + join(assignments, u", ");
        const std::u16string& where = single(attribute::where).expression;
        if (!where.empty())
            out += std::u16string(newline) + u"WHERE " + where;
        return out;
    }

    std::u16string crosstabStatement() const {
        const QueryRow* transform = nullptr;
        const QueryRow* pivot = nullptr;
        for (const QueryRow* row : all(attribute::column)) {
            if (row->flag & crosstabPivotFlag)
                pivot = row;
            else if (!(row->flag & crosstabGroupFlag))
                transform = row;
        }
        if (!pivot)
            throw Unwritable();
        std::u16string out;
        if (transform)
            out = u"TRANSFORM " + withAlias(transform->expression, transform->name1) +
                  std::u16string(newline);
        return out + selectStatement(true) + std::u16string(newline) + u"PIVOT " +
               pivot->expression;
    }

    std::u16string unionPart(std::u16string_view id) const {
        for (const QueryRow* row : all(attribute::table))
            if (row->name2 == id)
                return normalizedLines(row->expression);
        throw Unwritable();
    }

    std::u16string unionStatement() const {
        std::u16string out = unionPart(unionFirstPart) + std::u16string(newline) + u"UNION ";
        if (!hasFlag(unionDistinctFlag))
            out += u"ALL ";
        return out + unionPart(unionSecondPart) + orderBy();
    }

    const std::vector<QueryRow>& rows_;
};

bool returnsRows(int type) {
    return type == querytype::select || type == querytype::unionQuery ||
           type == querytype::crosstab;
}

} // namespace

std::optional<catalog::Query> buildQuery(const std::u16string& name,
                                         const std::vector<QueryRow>& rows) {
    QueryWriter writer(rows);
    try {
        catalog::Query query;
        query.name = name;
        query.text = writer.write();
        query.parameters = writer.parameters();
        query.procedure = !query.parameters.empty() || !returnsRows(writer.type());
        return query;
    } catch (const Unwritable&) {
        return std::nullopt;
    }
}

} // namespace engine::mdbfile
