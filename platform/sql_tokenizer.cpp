#include "platform/sql_tokenizer.h"

#include "platform/errors.h"

namespace vornak {

namespace {

const QLatin1StringView twoCharSymbols[] = {
    QLatin1StringView("<="), QLatin1StringView(">="), QLatin1StringView("<>"),
    QLatin1StringView("!="), QLatin1StringView("||"),
};
const QLatin1StringView oneCharSymbols("(),.;*=<>+-/&%");

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

class Tokenizer {
public:
    explicit Tokenizer(const QString &sql)
        : sql_(sql)
    {
    }

    QList<SqlToken> run()
    {
        QList<SqlToken> tokens;
        tokens.reserve(sql_.size() / 4 + 4);
        while (true) {
            while (pos_ < sql_.size() && sql_[pos_].isSpace())
                ++pos_;
            if (pos_ >= sql_.size())
                break;
            tokens.append(next());
            tokens.last().length = pos_ - tokens.last().position;
        }
        return tokens;
    }

private:
    SqlToken next()
    {
        const qsizetype start = pos_;
        const QChar c = sql_[pos_];
        if (isWordStart(c)) {
            while (pos_ < sql_.size() && isWordPart(sql_[pos_]))
                ++pos_;
            return {SqlToken::Kind::Word, sql_.mid(start, pos_ - start), start};
        }
        if (isDigit(c) || (c == u'.' && pos_ + 1 < sql_.size() && isDigit(sql_[pos_ + 1])))
            return number(start);
        if (c == u'\'')
            return quoted(SqlToken::Kind::Text, u'\'', start);
        if (c == u'"')
            return quoted(SqlToken::Kind::QuotedText, u'"', start);
        if (c == u'[')
            return enclosed(SqlToken::Kind::Name, u']', start, "name");
        if (c == u'`')
            return enclosed(SqlToken::Kind::Name, u'`', start, "name");
        if (c == u'#')
            return enclosed(SqlToken::Kind::Date, u'#', start, "date");
        if (c == u'?') {
            ++pos_;
            return {SqlToken::Kind::Parameter, QStringLiteral("?"), start};
        }
        for (const auto symbol : twoCharSymbols)
            if (QStringView(sql_).mid(pos_, 2) == symbol) {
                pos_ += 2;
                return {SqlToken::Kind::Symbol, QString(symbol), start};
            }
        if (oneCharSymbols.contains(c)) {
            ++pos_;
            return {SqlToken::Kind::Symbol, QString(c), start};
        }
        // A character outside the basic plane is shown whole, not as half of a pair.
        const qsizetype size = c.isHighSurrogate() && pos_ + 1 < sql_.size() ? 2 : 1;
        throw DatabaseError(QStringLiteral("Invalid character '%1' in the SQL statement at position %2.")
                                .arg(sql_.mid(start, size))
                                .arg(start + 1));
    }

    SqlToken number(qsizetype start)
    {
        while (pos_ < sql_.size() && isDigit(sql_[pos_]))
            ++pos_;
        if (pos_ < sql_.size() && sql_[pos_] == u'.') {
            ++pos_;
            while (pos_ < sql_.size() && isDigit(sql_[pos_]))
                ++pos_;
        }
        if (pos_ < sql_.size() && (sql_[pos_] == u'e' || sql_[pos_] == u'E')) {
            qsizetype p = pos_ + 1;
            if (p < sql_.size() && (sql_[p] == u'+' || sql_[p] == u'-'))
                ++p;
            if (p < sql_.size() && isDigit(sql_[p])) {
                pos_ = p;
                while (pos_ < sql_.size() && isDigit(sql_[pos_]))
                    ++pos_;
            }
        }
        if (pos_ < sql_.size() && isWordStart(sql_[pos_]))
            throw DatabaseError(QStringLiteral("Syntax error near '%1'.").arg(sql_.mid(start, pos_ - start + 1)));
        return {SqlToken::Kind::Number, sql_.mid(start, pos_ - start), start};
    }

    // A literal closed by `quote`; a doubled quote inside stands for one.
    SqlToken quoted(SqlToken::Kind kind, QChar quote, qsizetype start)
    {
        QString value;
        ++pos_;
        while (true) {
            if (pos_ >= sql_.size())
                throw DatabaseError(QStringLiteral("Unterminated text in the SQL statement: %1").arg(sql_.mid(start)));
            if (sql_[pos_] == quote) {
                if (pos_ + 1 < sql_.size() && sql_[pos_ + 1] == quote) {
                    value += quote;
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return {kind, value, start};
            }
            value += sql_[pos_++];
        }
    }

    SqlToken enclosed(SqlToken::Kind kind, QChar close, qsizetype start, const char *what)
    {
        const qsizetype end = sql_.indexOf(close, pos_ + 1);
        if (end < 0)
            throw DatabaseError(QStringLiteral("Unterminated %1 in the SQL statement: %2")
                                    .arg(QLatin1StringView(what), sql_.mid(start)));
        pos_ = end + 1;
        return {kind, sql_.mid(start + 1, end - start - 1), start};
    }

    const QString &sql_;
    qsizetype pos_ = 0;
};

}  // namespace

QList<SqlToken> tokenizeSql(const QString &sql)
{
    return Tokenizer(sql).run();
}

}  // namespace vornak
