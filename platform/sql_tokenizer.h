#pragma once

#include <QList>
#include <QString>

namespace vornak {

// One token of the SQL dialect.
struct SqlToken {
    enum class Kind {
        Word,        // bare identifier or keyword
        Name,        // [bracketed name], text without the brackets
        Number,      // 12, 40.5, 1e3
        Text,        // 'text' (text holds the value, a doubled apostrophe made single)
        QuotedText,  // "text": a text literal of the dialect (a doubled quote made single)
        Date,        // #11/13/2011#, text without the number signs
        Symbol,      // ( ) , . ; * = < > <= >= <> + - / & and the like
        Parameter,   // ?
    };
    Kind kind;
    QString text;
    qsizetype position;    // of the first character in the statement
    qsizetype length = 0;  // characters in the statement, delimiters included

    bool isWord(QLatin1StringView word) const
    {
        return kind == Kind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QLatin1StringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    bool isLiteral() const
    {
        return kind == Kind::Number || kind == Kind::Text || kind == Kind::QuotedText || kind == Kind::Date;
    }
};

// Splits a statement into tokens; raises DatabaseError for an unterminated literal or name and
// for a character the dialect does not know (digits are ASCII: another script's digit is such a
// character, never a number).
QList<SqlToken> tokenizeSql(const QString &sql);

}  // namespace vornak
