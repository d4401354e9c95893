#include "platform/sqlcipher_messages.h"

#include <QRegularExpression>
#include <sqlcipher/sqlite3.h>

namespace vornak {

namespace {

struct MessageRule {
    const char *pattern;  // on SQLite's message
    const char *text;     // %1, %2: the pattern's captures
};

const MessageRule messageRules[] = {
    {R"x(^no such table: (?:\w+\.)?(.+)$)x", "Could not find table '%1'."},
    {R"x(^no such column: (.+)$)x", "Unknown column '%1'."},
    {R"x(^near "(.*)": syntax error$)x", "Syntax error near '%1'."},
    {R"x(^incomplete input$)x", "Syntax error: the statement ends too early."},
    {R"x(^unrecognized token: "(.*)"$)x", "Syntax error near '%1'."},
    {R"x(^(\d+) values for (\d+) columns$)x", "The statement gives %1 values for %2 columns."},
    {R"x(^table (\S+) has (\d+) columns but (\d+) values were supplied$)x",
     "The statement gives %3 values for the %2 columns of table '%1'."},
    {R"x(^table (\S+) has no column named (.+)$)x", "Table '%1' has no column '%2'."},
    {R"x(^ambiguous column name: (?:main\.)?(.+)$)x", "The column name '%1' is ambiguous: name its table."},
    {R"x(^no such function: (.+)$)x", "Unknown function '%1'."},
    {R"x(^wrong number of arguments to function (\S+)\(\)$)x", "Wrong number of arguments to function '%1'."},
    {R"x(^misuse of aggregate(?: function)?:? (\S+?)\(?\)?$)x", "Aggregate function '%1' is not allowed here."},
    {R"x(^table (\S+) already exists$)x", "Table '%1' already exists."},
    {R"x(^UNIQUE constraint failed: (.+)$)x", "The value would duplicate a key in '%1'."},
    // The guards of the log book's columns, named "<column> holds <what>".
    {R"x(^CHECK constraint failed: (\w+) holds whole numbers$)x",
     "The value is not a whole number between -2147483648 and 2147483647 for column '%1'."},
    {R"x(^CHECK constraint failed: (\w+) holds numbers$)x", "The value is not a number for column '%1'."},
    {R"x(^CHECK constraint failed: (\w+) holds dates$)x", "The value is not a valid date for column '%1'."},
    {R"x(^CHECK constraint failed: (\w+) holds texts of at most (\d+) characters$)x",
     "The value is not a text of at most %2 characters for column '%1'."},
    {R"x(^CHECK constraint failed: (.+)$)x", "The value is not allowed in '%1'."},
    {R"x(^NOT NULL constraint failed: (.+)$)x", "'%1' requires a value."},
    {R"x(^parser stack overflow$)x", "The SQL statement is nested too deeply."},
    {R"x(^Expression tree is too large)x", "The SQL statement is nested too deeply."},
    {R"x(^too many SQL variables$)x", "The SQL statement is too long."},
    {R"x(^too many terms in compound SELECT$)x", "The SQL statement is too long."},
    {R"x(^row value misused$)x", "A list of values in parentheses is not allowed here."},
    {R"x(^RIGHT and FULL OUTER JOINs are not currently supported$)x", "Syntax error in JOIN operation."},
    {R"x(^unknown or unsupported join type: (.+)$)x", "Syntax error in JOIN operation."},
    {R"x(^sub-select returns (\d+) columns - expected 1$)x",
     "A subquery gives %1 columns where one value is expected."},
    {R"x(^no such collation sequence: (.+)$)x", "Unknown sort order '%1'."},
    {R"x(^integer overflow$)x", "A number is out of range."},
    {R"x(^SELECTs to the left and right of (\w+(?: \w+)?) do not have the same number of result columns$)x",
     "The queries joined by %1 give different numbers of columns."},
    {R"x(^unable to use function (\S+) in the requested context$)x", "Function '%1' cannot be used here."},
    {R"x(^no such index: (.+)$)x", "Unknown index '%1'."},
    {R"x(^\d+\w\w (ORDER|GROUP) BY term out of range - should be between 1 and (\d+)$)x",
     "A column number of %1 BY is not between 1 and %2."},
};

struct CodeRule {
    int code;
    const char *text;
};

// Extended codes first: each names its failure more closely than its primary code.
const CodeRule codeRules[] = {
    // The shared-memory index beside a WAL file grows by writing; only a full disk refuses that.
    {SQLITE_IOERR_SHMSIZE, "The disk is full: there is no room for the journal files beside the database."},
    {SQLITE_BUSY, "The database file is locked by another process."},
    {SQLITE_LOCKED, "The database file is locked by another process."},
    {SQLITE_READONLY, "The database file cannot be written: it is read-only."},
    {SQLITE_FULL, "The disk is full: the change could not be written."},
    {SQLITE_IOERR, "The database file could not be read or written (input/output error)."},
    {SQLITE_NOTADB, "Not a valid password, or the file is not a database."},
    {SQLITE_CORRUPT, "The database file is damaged."},
    {SQLITE_CANTOPEN, "The database file could not be opened."},
    {SQLITE_MISMATCH, "Data type mismatch in criteria expression."},
    {SQLITE_TOOBIG, "A value is too long for the engine."},
};

}  // namespace

QString engineMessage(int code, const QString &message)
{
    for (const CodeRule &rule : codeRules)
        if (code == rule.code || (rule.code <= 0xff && (code & 0xff) == rule.code))
            return QString::fromLatin1(rule.text);
    for (const MessageRule &rule : messageRules) {
        // A name or text may hold a line break: it is still one name.
        const QRegularExpression pattern(QString::fromLatin1(rule.pattern),
                                         QRegularExpression::DotMatchesEverythingOption);
        const auto match = pattern.match(message);
        if (!match.hasMatch())
            continue;
        QString text = QString::fromLatin1(rule.text);
        for (int i = 1; i <= match.lastCapturedIndex(); ++i)
            text.replace(QStringLiteral("%") + QString::number(i), match.captured(i));
        return text;
    }
    QString text = message;
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}

}  // namespace vornak
