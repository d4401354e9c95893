// How the translation works: the statement is split into tokens (never searched as text), each
// token gets its parenthesis depth and its matching parenthesis, and one pass per statement kind
// marks what changes (a qualifier to drop, a literal assigned to a column, a name for an unnamed
// select item). Writing then walks the tokens once: a literal becomes a bound value (or SQLite
// literal), a name goes into backticks, '&' becomes '||'. No input text is ever written
// unquoted, so none can add a token to the statement SQLite runs.
#include "platform/sql_translator.h"

#include "platform/database_catalog.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"
#include "platform/sql_tokenizer.h"

#include <cmath>
#include <optional>
#include <QDate>
#include <QRegularExpression>

namespace vornak {

namespace {

using Kind = SqlToken::Kind;

constexpr qsizetype maxNesting = 200;  // parentheses; SQLite's own parser stops not far above
// Values bound to one statement; literals beyond are written into the text (SQLite takes at most
// 999 bound values).
constexpr qsizetype maxBindings = 250;

// Clause keywords that end an ORDER BY / GROUP BY list at the same depth.
const QLatin1StringView clauseWords[] = {
    QLatin1StringView("SELECT"), QLatin1StringView("FROM"),  QLatin1StringView("WHERE"), QLatin1StringView("HAVING"),
    QLatin1StringView("LIMIT"),  QLatin1StringView("UNION"), QLatin1StringView("SET"),   QLatin1StringView("VALUES"),
};

// Statements other than queries and row changes that run as written.
const QLatin1StringView passedStatements[] = {
    QLatin1StringView("CREATE"), QLatin1StringView("DROP"),   QLatin1StringView("ALTER"),
    QLatin1StringView("BEGIN"),  QLatin1StringView("COMMIT"), QLatin1StringView("ROLLBACK"),
};

// Words after which a FROM list stops naming tables.
const QLatin1StringView fromEndWords[] = {
    QLatin1StringView("WHERE"),  QLatin1StringView("GROUP"), QLatin1StringView("ORDER"),
    QLatin1StringView("HAVING"), QLatin1StringView("UNION"), QLatin1StringView("LIMIT"),
};

const QLatin1StringView joinWords[] = {
    QLatin1StringView("JOIN"),  QLatin1StringView("LEFT"),  QLatin1StringView("RIGHT"), QLatin1StringView("INNER"),
    QLatin1StringView("OUTER"), QLatin1StringView("CROSS"), QLatin1StringView("ON"),
};

template <size_t N>
bool isOneOf(const SqlToken &token, const QLatin1StringView (&words)[N])
{
    if (token.kind != Kind::Word)
        return false;
    for (const auto word : words)
        if (token.text.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<double> parseDateLiteral(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})(?:\s+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(4)) {
        int hour = m.captured(4).toInt();
        const QString ampm = m.captured(7).toUpper();
        if (ampm == u"PM" && hour < 12)
            hour += 12;
        else if (ampm == u"AM" && hour == 12)
            hour = 0;
        time = QTime(hour, m.captured(5).toInt(), m.hasCaptured(6) ? m.captured(6).toInt() : 0);
        if (!time.isValid())
            return std::nullopt;
    }
    return date_time::encode(date, time);
}

// A table of the FROM list of one SELECT level: its name and the alias it goes by.
struct FromTable {
    QString name;
    QString alias;
};

class Translator {
public:
    Translator(const QString &sql, const DatabaseCatalog &catalog, SqlTextMode mode)
        : sql_(sql),
          catalog_(catalog),
          prepared_(mode == SqlTextMode::Prepared)
    {
    }

    SqlTranslation run()
    {
        tokens_ = tokenizeSql(sql_);
        while (!tokens_.isEmpty() && tokens_.last().isSymbol(QLatin1StringView(";")))
            tokens_.removeLast();
        if (tokens_.isEmpty())
            throw DatabaseError(QStringLiteral("The SQL statement is empty."));
        computeDepths();
        for (qsizetype i = 0; i < tokens_.size(); ++i) {
            const SqlToken &t = tokens_[i];
            if (t.isSymbol(QLatin1StringView(";")))
                throw DatabaseError(QStringLiteral("Characters found after end of SQL statement."));
            if (t.kind == Kind::Parameter)
                throw DatabaseError(QStringLiteral("No value given for one or more required parameters."));
            refuseEngineName(i);
            if (i > 0 && t.isLiteral() && (tokens_[i - 1].isLiteral() || tokens_[i - 1].kind == Kind::Name))
                throw DatabaseError(QStringLiteral("Syntax error (missing operator) in query expression '%1'.")
                                        .arg(sourceText(i - 1, i + 1)));
        }
        drop_.fill(false, tokens_.size());
        assignedColumn_.fill(nullptr, tokens_.size());
        suffix_.resize(tokens_.size());

        result_.kind = statementKind();
        switch (result_.kind) {
        case SqlTranslation::Kind::Update:
            prepareUpdate();
            break;
        case SqlTranslation::Kind::Insert:
            prepareInsert();
            break;
        case SqlTranslation::Kind::Delete:
            prepareDelete();
            break;
        case SqlTranslation::Kind::Select:
            prepareSelect();
            break;
        case SqlTranslation::Kind::Other:
            checkTableDefinition();
            break;
        }
        writeSql();
        return std::move(result_);
    }

private:
    void computeDepths()
    {
        depth_.resize(tokens_.size());
        match_.fill(-1, tokens_.size());
        QList<qsizetype> open;
        for (qsizetype i = 0; i < tokens_.size(); ++i) {
            if (tokens_[i].isSymbol(QLatin1StringView(")"))) {
                if (!open.isEmpty()) {
                    match_[open.last()] = i;
                    match_[i] = open.takeLast();
                }
            }
            depth_[i] = int(open.size());
            if (tokens_[i].isSymbol(QLatin1StringView("("))) {
                open.append(i);
                if (open.size() > maxNesting)
                    throw DatabaseError(QStringLiteral("The SQL statement is nested too deeply."));
            }
        }
    }

    // The statement as written from token `from` up to token `to` (excluded).
    QString sourceText(qsizetype from, qsizetype to) const
    {
        const qsizetype begin = tokens_[from].position;
        return sql_.mid(begin, tokens_[to - 1].position + tokens_[to - 1].length - begin);
    }

    // The engine's own tables (sqlite_master, sqlite_sequence, ...) and functions are no part of
    // the dialect: unknown tables and functions.
    void refuseEngineName(qsizetype i) const
    {
        const SqlToken &t = tokens_[i];
        if (!isNameToken(t))
            return;
        const QStringList parts = t.kind == Kind::Name ? t.text.split(u'.') : QStringList{t.text};
        for (const QString &part : parts) {
            const bool engines =
                part.startsWith(QLatin1StringView("sqlite_"), Qt::CaseInsensitive) ||
                (t.kind == Kind::Word && part.startsWith(QLatin1StringView("pragma_"), Qt::CaseInsensitive));
            if (!engines)
                continue;
            if (i + 1 < tokens_.size() && tokens_[i + 1].isSymbol(QLatin1StringView("(")))
                throw DatabaseError(QStringLiteral("Unknown function '%1'.").arg(part));
            throw DatabaseError(QStringLiteral("Could not find table '%1'.").arg(part));
        }
    }

    [[noreturn]] static void refuseStatement()
    {
        throw DatabaseError(QStringLiteral("Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table "
                                           "definition."));
    }

    // Table definitions only: CREATE TABLE t (columns), DROP TABLE t, ALTER TABLE t ...; and BEGIN,
    // COMMIT, ROLLBACK.
    void checkTableDefinition() const
    {
        const SqlToken &first = tokens_[0];
        if (!first.isWord(QLatin1StringView("CREATE")) && !first.isWord(QLatin1StringView("DROP")) &&
            !first.isWord(QLatin1StringView("ALTER")))
            return;
        if (tokens_.size() < 3 || !tokens_[1].isWord(QLatin1StringView("TABLE")))
            refuseStatement();
        if (first.isWord(QLatin1StringView("ALTER")))
            return;
        qsizetype name = 2;
        const char *const ifWords[] = {"IF", "NOT", "EXISTS"};
        for (const char *word : ifWords) {
            if (name < tokens_.size() && tokens_[name].isWord(QLatin1StringView(word)))
                ++name;
        }
        if (name >= tokens_.size() || !isNameToken(tokens_[name]))
            refuseStatement();
        const qsizetype last = tokens_.size() - 1;
        if (first.isWord(QLatin1StringView("DROP"))
                ? name != last
                : name + 1 > last || !tokens_[name + 1].isSymbol(QLatin1StringView("(")) || match_[name + 1] != last)
            refuseStatement();
    }

    SqlTranslation::Kind statementKind() const
    {
        qsizetype i = 0;
        while (i < tokens_.size() && tokens_[i].isSymbol(QLatin1StringView("(")))
            ++i;
        if (i >= tokens_.size())
            throw DatabaseError(QStringLiteral("Syntax error near '('."));
        const SqlToken &first = tokens_[i];
        if (first.isWord(QLatin1StringView("SELECT")))
            return SqlTranslation::Kind::Select;
        if (i == 0 && first.isWord(QLatin1StringView("INSERT")))
            return SqlTranslation::Kind::Insert;
        if (i == 0 && first.isWord(QLatin1StringView("UPDATE")))
            return SqlTranslation::Kind::Update;
        if (i == 0 && first.isWord(QLatin1StringView("DELETE")))
            return SqlTranslation::Kind::Delete;
        if (i == 0 && isOneOf(first, passedStatements))
            return SqlTranslation::Kind::Other;
        refuseStatement();
    }

    // The next index at `depth` (from `from`) of a token for which `stop` holds, or the end.
    template <typename Stop>
    qsizetype findAtDepth(qsizetype from, int depth, Stop stop) const
    {
        return findAtDepth(from, tokens_.size(), depth, stop);
    }
    // The same, looking no further than `to` (returned when nothing is found before it).
    template <typename Stop>
    qsizetype findAtDepth(qsizetype from, qsizetype to, int depth, Stop stop) const
    {
        for (qsizetype i = from; i < to; ++i) {
            if (depth_[i] < depth)
                return i;
            if (depth_[i] == depth && stop(tokens_[i]))
                return i;
        }
        return to;
    }

    static bool isNameToken(const SqlToken &t) { return t.kind == Kind::Word || t.kind == Kind::Name; }

    // Strips a table qualifier from the column reference [from, to): "t.c", "[t].[c]" or
    // "[t.c]"; the qualifier must name `table`. Returns the column name, or an empty text when the
    // range is no column reference.
    QString stripQualifier(qsizetype from, qsizetype to, const QString &table)
    {
        QString qualifier;
        QString column;
        if (to - from == 3 && isNameToken(tokens_[from]) && tokens_[from + 1].isSymbol(QLatin1StringView(".")) &&
            isNameToken(tokens_[from + 2])) {
            drop_[from] = drop_[from + 1] = true;
            qualifier = tokens_[from].text;
            column = tokens_[from + 2].text;
        } else if (to - from == 1 && tokens_[from].kind == Kind::Name && tokens_[from].text.contains(u'.')) {
            qualifier = tokens_[from].text.section(u'.', 0, -2);
            column = tokens_[from].text = tokens_[from].text.section(u'.', -1);
        } else if (to - from == 1 && isNameToken(tokens_[from])) {
            return tokens_[from].text;
        } else {
            return {};
        }
        if (qualifier.compare(table, Qt::CaseInsensitive) != 0)
            throw DatabaseError(QStringLiteral("Unknown column '%1'.").arg(sourceText(from, to)));
        return column;
    }

    // Notes the column a value [from, to) is assigned to when the value is a single text
    // literal: it is then converted to the column's kind (a regional date for a date-time).
    // A number (its sign apart) assigned to a whole-number column is rounded as the column
    // stores it.
    void markAssignedValue(const TableSchema *table, const QString &column, qsizetype from, qsizetype to)
    {
        if (!table || column.isEmpty())
            return;
        if (to - from == 2 &&
            (tokens_[from].isSymbol(QLatin1StringView("-")) || tokens_[from].isSymbol(QLatin1StringView("+"))))
            ++from;
        if (to - from != 1)
            return;
        const SqlToken &value = tokens_[from];
        const ColumnInfo *info = table->column(column);
        const bool wholeNumbers =
            info && (info->kind == ColumnKind::Integer || info->kind == ColumnKind::AutoIncrement);
        if (value.kind == Kind::Text || value.kind == Kind::QuotedText || (value.kind == Kind::Number && wholeNumbers))
            assignedColumn_[from] = info;
    }

    const TableSchema *tableAt(qsizetype i) const
    {
        if (i >= tokens_.size() || !isNameToken(tokens_[i]))
            return nullptr;
        return catalog_.table(tokens_[i].text);
    }

    // UPDATE t SET t.c = v, ... WHERE ...
    void prepareUpdate()
    {
        const TableSchema *table = tableAt(1);
        const QString tableName = tokens_.size() > 1 ? tokens_[1].text : QString();
        const qsizetype set = findAtDepth(1, 0, [](const SqlToken &t) { return t.isWord(QLatin1StringView("SET")); });
        qsizetype item = set + 1;
        while (item < tokens_.size() && !tokens_[item].isWord(QLatin1StringView("WHERE"))) {
            const qsizetype end = findAtDepth(item, 0, [](const SqlToken &t) {
                return t.isSymbol(QLatin1StringView(",")) || t.isWord(QLatin1StringView("WHERE"));
            });
            const qsizetype eq =
                findAtDepth(item, end, 0, [](const SqlToken &t) { return t.isSymbol(QLatin1StringView("=")); });
            if (eq < end) {
                const QString column = stripQualifier(item, eq, tableName);
                markAssignedValue(table, column, eq + 1, end);
            }
            item = end < tokens_.size() && tokens_[end].isSymbol(QLatin1StringView(",")) ? end + 1 : end;
        }
    }

    // INSERT INTO t (c1, c2, ...) VALUES (v1, v2, ...)
    void prepareInsert()
    {
        if (tokens_.size() < 3 || !tokens_[1].isWord(QLatin1StringView("INTO")))
            return;
        const TableSchema *table = tableAt(2);
        const QString tableName = tokens_[2].text;
        const qsizetype open = 3;
        QStringList columns;
        qsizetype values = open;
        if (open < tokens_.size() && tokens_[open].isSymbol(QLatin1StringView("(")) && match_[open] >= 0) {
            for (qsizetype item = open + 1; item < match_[open];) {
                const qsizetype end =
                    findAtDepth(item, 1, [](const SqlToken &t) { return t.isSymbol(QLatin1StringView(",")); });
                const qsizetype stop = std::min(end, match_[open]);
                columns.append(stripQualifier(item, stop, tableName));
                item = stop + 1;
            }
            values = match_[open] + 1;
        } else if (table) {
            for (const ColumnInfo &column : table->columns)  // no column list: all, in table order
                columns.append(column.name);
        }
        if (values + 1 >= tokens_.size() || !tokens_[values].isWord(QLatin1StringView("VALUES")) ||
            !tokens_[values + 1].isSymbol(QLatin1StringView("(")) || match_[values + 1] < 0)
            return;
        const qsizetype close = match_[values + 1];
        int index = 0;
        for (qsizetype item = values + 2; item < close; ++index) {
            const qsizetype end = std::min(
                close, findAtDepth(item, 1, [](const SqlToken &t) { return t.isSymbol(QLatin1StringView(",")); }));
            if (index < columns.size())
                markAssignedValue(table, columns[index], item, end);
            item = end + 1;
        }
    }

    // DELETE [* | t.c, ... | t.*] FROM t WHERE ...: the list before FROM, columns of t, goes.
    void prepareDelete()
    {
        const qsizetype from = findAtDepth(1, 0, [](const SqlToken &t) { return t.isWord(QLatin1StringView("FROM")); });
        if (from + 1 >= tokens_.size() || !isNameToken(tokens_[from + 1]))
            throw DatabaseError(QStringLiteral("Syntax error in DELETE statement."));
        const QString tableName = tokens_[from + 1].text;
        const TableSchema *table = tableAt(from + 1);
        const bool star = from == 2 && tokens_[1].isSymbol(QLatin1StringView("*"));
        for (qsizetype item = 1; item < from && !star;) {
            const qsizetype end =
                findAtDepth(item, from, 0, [](const SqlToken &t) { return t.isSymbol(QLatin1StringView(",")); });
            const bool allColumns = end - item == 3 && tokens_[end - 1].isSymbol(QLatin1StringView("*"));
            if (allColumns)
                tokens_[end - 1].kind = Kind::Word;  // t.* reads as a column reference here
            const QString column = stripQualifier(item, end, tableName);
            if (column.isEmpty() || (end < from && end + 1 == from))
                throw DatabaseError(QStringLiteral("Syntax error in DELETE statement."));
            if (!allColumns && table && !table->column(column))
                throw DatabaseError(QStringLiteral("Unknown column '%1'.").arg(sourceText(item, end)));
            item = end + 1;
        }
        for (qsizetype i = 1; i < from; ++i)
            drop_[i] = true;
    }

    void prepareSelect()
    {
        qsizetype select = 0;
        while (!tokens_[select].isWord(QLatin1StringView("SELECT")))
            ++select;
        const int depth = depth_[select];
        const qsizetype from =
            findAtDepth(select + 1, depth, [](const SqlToken &t) { return t.isWord(QLatin1StringView("FROM")); });
        for (qsizetype i = select; i < tokens_.size(); ++i)
            if (depth_[i] == depth &&
                (tokens_[i].isWord(QLatin1StringView("GROUP")) || tokens_[i].isWord(QLatin1StringView("DISTINCT")) ||
                 tokens_[i].isWord(QLatin1StringView("UNION")) || tokens_[i].isWord(QLatin1StringView("HAVING"))))
                result_.aggregatesRows = true;
        selectListBegin_ = select + 1;
        selectListEnd_ = from;
        const QList<FromTable> tables = fromTables(from, depth);
        qsizetype item = select + 1;
        if (item < from &&
            (tokens_[item].isWord(QLatin1StringView("DISTINCT")) || tokens_[item].isWord(QLatin1StringView("ALL"))))
            ++item;
        while (item < from) {
            const qsizetype end = std::min(
                from, findAtDepth(item, depth, [](const SqlToken &t) { return t.isSymbol(QLatin1StringView(",")); }));
            nameExpressionItem(item, end, tables);
            item = end + 1;
        }
    }

    QList<FromTable> fromTables(qsizetype from, int depth) const
    {
        QList<FromTable> tables;
        bool expectTable = true;
        for (qsizetype i = from + 1; i < tokens_.size() && depth_[i] >= depth; ++i) {
            if (depth_[i] != depth)
                continue;
            const SqlToken &t = tokens_[i];
            if (isOneOf(t, fromEndWords))
                break;
            if (t.isSymbol(QLatin1StringView(",")) || t.isWord(QLatin1StringView("JOIN"))) {
                expectTable = true;
            } else if (t.isWord(QLatin1StringView("ON"))) {
                expectTable = false;
            } else if (expectTable && isNameToken(t) && !isOneOf(t, joinWords)) {
                FromTable table{t.text, t.text};
                qsizetype next = i + 1;
                if (next < tokens_.size() && tokens_[next].isWord(QLatin1StringView("AS")))
                    ++next;
                if (next < tokens_.size() && depth_[next] == depth && isNameToken(tokens_[next]) &&
                    !isOneOf(tokens_[next], joinWords) && !isOneOf(tokens_[next], fromEndWords)) {
                    table.alias = tokens_[next].text;
                    i = next;
                }
                tables.append(table);
                expectTable = false;
            }
        }
        return tables;
    }

    // The column a reference [from, to) names among `tables`.
    std::optional<ColumnInfo> resolveColumn(qsizetype from, qsizetype to, const QList<FromTable> &tables) const
    {
        QString qualifier;
        QString column;
        if (to - from == 3 && isNameToken(tokens_[from]) && tokens_[from + 1].isSymbol(QLatin1StringView(".")) &&
            isNameToken(tokens_[from + 2])) {
            qualifier = tokens_[from].text;
            column = tokens_[from + 2].text;
        } else if (to - from == 1 && isNameToken(tokens_[from])) {
            column = tokens_[from].text;
            if (tokens_[from].kind == Kind::Name && column.contains(u'.')) {
                qualifier = column.section(u'.', 0, 0);
                column = column.section(u'.', 1);
            }
        } else {
            return std::nullopt;
        }
        for (const FromTable &t : tables) {
            if (!qualifier.isEmpty() && qualifier.compare(t.alias, Qt::CaseInsensitive) != 0 &&
                qualifier.compare(t.name, Qt::CaseInsensitive) != 0)
                continue;
            if (const TableSchema *schema = catalog_.table(t.name))
                if (const ColumnInfo *info = schema->column(column))
                    return *info;
        }
        return std::nullopt;
    }

    // The kind of a select-list expression [from, to) (without its alias).
    std::optional<ColumnInfo> expressionColumn(qsizetype from, qsizetype to, const QList<FromTable> &tables) const
    {
        if (from >= to)
            return std::nullopt;
        const SqlToken &first = tokens_[from];
        // Aggregate(argument)
        if (first.kind == Kind::Word && from + 1 < to && tokens_[from + 1].isSymbol(QLatin1StringView("(")) &&
            match_[from + 1] == to - 1) {
            const QString function = first.text.toUpper();
            ColumnInfo info;
            if (function == u"COUNT") {
                info.kind = ColumnKind::Integer;
                return info;
            }
            if (function == u"AVG") {
                info.kind = ColumnKind::Float;
                return info;
            }
            if (function != u"SUM" && function != u"MAX" && function != u"MIN")
                return std::nullopt;
            qsizetype argument = from + 2;
            if (argument < to - 1 && tokens_[argument].isWord(QLatin1StringView("DISTINCT")))
                ++argument;
            auto column = resolveColumn(argument, to - 1, tables);
            if (!column)
                column = expressionColumn(argument, to - 1, tables);
            if (!column)
                return std::nullopt;
            info.kind = column->kind;
            info.size = column->size;
            if (info.kind == ColumnKind::AutoIncrement)
                info.kind = ColumnKind::Integer;
            if (function == u"SUM" && info.kind != ColumnKind::Integer)
                info.kind = ColumnKind::Float;
            return info;
        }
        // (SELECT item FROM ...)
        if (first.isSymbol(QLatin1StringView("(")) && match_[from] == to - 1 && from + 1 < to &&
            tokens_[from + 1].isWord(QLatin1StringView("SELECT"))) {
            const qsizetype select = from + 1;
            const int depth = depth_[select];
            const qsizetype subFrom = std::min(to - 1, findAtDepth(select + 1, depth, [](const SqlToken &t) {
                                                   return t.isWord(QLatin1StringView("FROM"));
                                               }));
            const qsizetype itemEnd = std::min(subFrom, findAtDepth(select + 1, depth, [](const SqlToken &t) {
                                                   return t.isSymbol(QLatin1StringView(","));
                                               }));
            const QList<FromTable> subTables = fromTables(subFrom, depth) + tables;
            if (auto column = resolveColumn(select + 1, itemEnd, subTables)) {
                ColumnInfo info;
                info.kind = column->kind == ColumnKind::AutoIncrement ? ColumnKind::Integer : column->kind;
                info.size = column->size;
                return info;
            }
            return expressionColumn(select + 1, itemEnd, subTables);
        }
        if (first.isSymbol(QLatin1StringView("(")) && match_[from] == to - 1)
            return expressionColumn(from + 1, to - 1, tables);
        return std::nullopt;
    }

    // A plain column (t.c, [c], *, t.*): the result names it after the column.
    bool isColumnReference(qsizetype from, qsizetype to) const
    {
        const auto isName = [&](qsizetype i) {
            return isNameToken(tokens_[i]) || tokens_[i].isSymbol(QLatin1StringView("*"));
        };
        if (to - from == 1)
            return isName(from);
        return to - from == 3 && isNameToken(tokens_[from]) && tokens_[from + 1].isSymbol(QLatin1StringView(".")) &&
               isName(from + 2);
    }

    // Names a select-list expression: by its alias, or "Expr1000", "Expr1001", ... when it has
    // none; and notes the kind its column takes.
    void nameExpressionItem(qsizetype from, qsizetype to, const QList<FromTable> &tables)
    {
        QString alias;
        qsizetype expressionEnd = to;
        if (to - from >= 3 && tokens_[to - 2].isWord(QLatin1StringView("AS")) && isNameToken(tokens_[to - 1])) {
            alias = tokens_[to - 1].text;
            expressionEnd = to - 2;
        } else if (to - from >= 2 && isNameToken(tokens_[to - 1]) &&
                   (tokens_[to - 2].isSymbol(QLatin1StringView(")")) || tokens_[to - 2].isLiteral())) {
            alias = tokens_[to - 1].text;
            expressionEnd = to - 1;
        } else if (isColumnReference(from, to)) {
            return;
        } else {
            alias = QStringLiteral("Expr%1").arg(1000 + unnamedExpressions_++);
            if (prepared_)
                suffix_[to - 1] = QStringLiteral(" AS ") + alias;
        }
        if (auto info = expressionColumn(from, expressionEnd, tables)) {
            info->name = alias;
            result_.expressionColumns.insert(alias.toLower(), *info);
        }
    }

    Variant literalValue(qsizetype i) const
    {
        const SqlToken &t = tokens_[i];
        if (const ColumnInfo *column = assignedColumn_[i])
            return assignedText(t.text, *column);
        switch (t.kind) {
        case Kind::Number: {
            bool ok = false;
            if (!t.text.contains(u'.') && !t.text.contains(u'e', Qt::CaseInsensitive)) {
                const qint64 n = t.text.toLongLong(&ok);
                if (ok)
                    return Variant(n);
            }
            const double number = t.text.toDouble();
            if (!std::isfinite(number))
                throw DatabaseError(QStringLiteral("The number '%1' is out of range.").arg(t.text));
            return Variant(number);
        }
        case Kind::Date: {
            const auto days = parseDateLiteral(t.text);
            if (!days)
                throw DatabaseError(QStringLiteral("Syntax error in date in query expression '#%1#'.").arg(t.text));
            return Variant::fromDateTime(*days);
        }
        default:
            return Variant(t.text);
        }
    }

    // A text literal assigned to `column`, as the column stores it.
    static Variant assignedText(const QString &text, const ColumnInfo &column)
    {
        switch (column.kind) {
        case ColumnKind::DateTime:
            if (const auto days = date_time::parse(text))
                return Variant::fromDateTime(*days);
            throw DatabaseError(
                QStringLiteral("The value '%1' is not a valid date for column '%2'.").arg(text, column.name));
        case ColumnKind::AutoIncrement:
        case ColumnKind::Integer:
        case ColumnKind::Float: {
            bool ok = false;
            const double number = text.trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(number))
                throw DatabaseError(
                    QStringLiteral("The value '%1' is not a number for column '%2'.").arg(text, column.name));
            if (column.kind == ColumnKind::Float)
                return Variant(number);
            // A long integer: halves go to the even neighbour.
            const double whole = roundHalfEven(number);
            if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
                throw DatabaseError(
                    QStringLiteral("The value '%1' is out of range for column '%2'.").arg(text, column.name));
            return Variant(qint64(whole));
        }
        case ColumnKind::Text:
            if (column.size > 0 && text.size() > column.size)
                throw DatabaseError(QStringLiteral("The text is too long for column '%1' (at most %2 characters).")
                                        .arg(column.name)
                                        .arg(column.size));
            return Variant(text);
        }
        return Variant(text);
    }

    static QString literalSql(const Variant &value)
    {
        switch (value.type()) {
        case Variant::Type::String:
            return sql_literal::apostropheText(value.toString());
        case Variant::Type::Integer:
        case Variant::Type::Int64:
            return sql_literal::integer(value.toInt64());
        default: {
            // Keep a float a float: "2" would make SQLite divide whole numbers.
            QString text = sql_literal::number(value.toDouble());
            if (!text.contains(u'.') && !text.contains(u'e'))
                text += QStringLiteral(".0");
            return text;
        }
        }
    }

    void writeSql()
    {
        const bool parameterize = prepared_ && result_.kind != SqlTranslation::Kind::Other;
        QList<bool> orderList(1, false);  // per depth: inside an ORDER BY / GROUP BY list
        QString &out = result_.sql;
        out.reserve(sql_.size() + 16);
        bool glue = true;
        for (qsizetype i = 0; i < tokens_.size(); ++i) {
            const SqlToken &t = tokens_[i];
            const int depth = depth_[i];
            if (orderList.size() <= depth + 1)
                orderList.resize(depth + 2, false);
            if (t.isSymbol(QLatin1StringView("(")))
                orderList[depth + 1] = false;
            if (t.isWord(QLatin1StringView("ORDER")) || t.isWord(QLatin1StringView("GROUP")))
                orderList[depth] = true;
            else if (isOneOf(t, clauseWords))
                orderList[depth] = false;
            if (drop_[i])
                continue;

            QString text;
            if (t.isLiteral()) {
                const Variant value = literalValue(i);
                const bool inSelectList = i >= selectListBegin_ && i < selectListEnd_;
                if (parameterize && !inSelectList && !orderList[depth] && result_.bindings.size() < maxBindings) {
                    result_.bindings.append(value);
                    text = QStringLiteral("?");
                } else {
                    text = literalSql(value);
                }
            } else if (t.kind == Kind::Name) {
                const qsizetype dot = t.text.indexOf(u'.');
                text = dot < 0 ? sql_literal::sqliteName(t.text)
                               : sql_literal::sqliteName(t.text.left(dot)) + u'.' +
                                     sql_literal::sqliteName(t.text.mid(dot + 1));
            } else if (t.isSymbol(QLatin1StringView("&"))) {
                text = QStringLiteral("||");
            } else {
                text = t.text;
            }
            if (!prepared_ && text != t.text)
                result_.writtenAs.insert(text, sql_.mid(t.position, t.length));
            const bool dot = t.isSymbol(QLatin1StringView("."));
            const bool closing = t.isSymbol(QLatin1StringView(")")) || t.isSymbol(QLatin1StringView(","));
            if (!glue && !dot && !closing)
                out += u' ';
            out += text;
            out += suffix_[i];
            glue = dot || t.isSymbol(QLatin1StringView("("));
        }
    }

    const QString &sql_;
    const DatabaseCatalog &catalog_;
    const bool prepared_;
    QList<SqlToken> tokens_;
    QList<int> depth_;
    QList<qsizetype> match_;
    QList<bool> drop_;
    QList<const ColumnInfo *> assignedColumn_;
    QList<QString> suffix_;  // written after the token
    int unnamedExpressions_ = 0;
    qsizetype selectListBegin_ = -1;
    qsizetype selectListEnd_ = -1;
    SqlTranslation result_;
};

}  // namespace

SqlTranslation translateSql(const QString &sql, const DatabaseCatalog &catalog, SqlTextMode mode)
{
    return Translator(sql, catalog, mode).run();
}

}  // namespace vornak
