#pragma once

#include "report/script/script_grammar.h"

#include <QString>

namespace vornak::script {

// Reads the tokens of a script text for the grammar interpreter. Each read either returns the
// token and moves past it, or returns nothing and leaves the position where it was.
class Tokenizer {
public:
    Tokenizer(const QString &text, const ParserSettings &settings, const Grammar &grammar);

    int position() const { return position_; }
    void setPosition(int position) { position_ = position; }
    bool atEnd() const { return position_ >= int(text_.size()); }
    const QString &text() const { return text_; }

    // Skips blanks (codes 0 to 32) and comments.
    void skipBlanks();
    // The offset of the first non-blank character at or after `position`.
    int firstNonBlank(int position) const;

    // One punctuation character ("!" to "/", ":" to "@", "[" to "`", "{" to "~"), or 0.
    QChar readChar();
    // A word: a letter, "_" or a character from code 127 on, then those or digits.
    QString readWord();
    bool isKeyword(QStringView word) const { return grammar_.isKeyword(word); }
    QString readNumber();
    // A string literal: quoted parts and character codes ("#13", "#$0D") next to each other;
    // `ok` is false when there is none here.
    QString readString(bool *ok);
    // The raw text of a report data reference, up to the ">" that closes it.
    QString readFrString();
    bool readEol();

private:
    bool isIdentStart(QChar c) const;
    bool isIdentChar(QChar c) const;
    bool startsWith(int position, const QString &prefix) const;
    int skipBlanksFrom(int position) const;

    QString text_;
    const ParserSettings &settings_;
    const Grammar &grammar_;
    int position_ = 0;
};

// "line:column" of an offset in `text`, both counted from 1.
QString textPosition(const QString &text, int offset);

}  // namespace vornak::script
