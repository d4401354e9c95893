#include "report/script/script_tokenizer.h"

#include <algorithm>

namespace vornak::script {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool isHexDigit(QChar c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
uint hexValue(QChar c)
{
    const char16_t u = c.unicode();
    return isDigit(c) ? u - u'0' : (u >= u'a' ? u - u'a' + 10 : u - u'A' + 10);
}
bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isPunctuation(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'!' && u <= u'/') || (u >= u':' && u <= u'@') || (u >= u'[' && u <= u'`') || (u >= u'{' && u <= u'~');
}

}  // namespace

Tokenizer::Tokenizer(const QString &text, const ParserSettings &settings, const Grammar &grammar)
    : text_(text),
      settings_(settings),
      grammar_(grammar)
{
}

bool Tokenizer::startsWith(int position, const QString &prefix) const
{
    return !prefix.isEmpty() && QStringView(text_).mid(position).startsWith(prefix);
}

int Tokenizer::skipBlanksFrom(int position) const
{
    const int size = int(text_.size());
    while (position < size) {
        const QChar c = text_[position];
        if (c.unicode() <= 32) {
            if (c == u'\n' && !settings_.skipEol)
                return position;
            ++position;
            continue;
        }
        bool comment = false;
        for (const QString &line : settings_.lineComments) {
            if (startsWith(position, line)) {
                const qsizetype end = text_.indexOf(u'\n', position);
                position = end < 0 ? size : int(end);
                comment = true;
                break;
            }
        }
        if (!comment) {
            for (const auto &[open, close] : settings_.blockComments) {
                if (startsWith(position, open)) {
                    const qsizetype end = text_.indexOf(close, position + open.size());
                    position = end < 0 ? size : int(end + close.size());
                    comment = true;
                    break;
                }
            }
        }
        if (!comment)
            return position;
    }
    return position;
}

void Tokenizer::skipBlanks()
{
    position_ = skipBlanksFrom(position_);
}

int Tokenizer::firstNonBlank(int position) const
{
    return skipBlanksFrom(position);
}

bool Tokenizer::isIdentStart(QChar c) const
{
    return isAsciiLetter(c) || c == u'_' || c.unicode() >= 127 || settings_.identChars.contains(c);
}

bool Tokenizer::isIdentChar(QChar c) const
{
    return isIdentStart(c) || isDigit(c);
}

QChar Tokenizer::readChar()
{
    if (atEnd() || !isPunctuation(text_[position_]))
        return QChar();
    return text_[position_++];
}

QString Tokenizer::readWord()
{
    if (atEnd() || !isIdentStart(text_[position_]))
        return {};
    const int start = position_;
    const int size = int(text_.size());
    while (position_ < size && isIdentChar(text_[position_]))
        ++position_;
    return text_.mid(start, position_ - start);
}

QString Tokenizer::readNumber()
{
    const int start = position_;
    const int size = int(text_.size());
    auto digitsFrom = [&](int p) {
        while (p < size && isDigit(text_[p]))
            ++p;
        return p;
    };
    if (startsWith(start, settings_.hexSequence)) {
        int p = start + int(settings_.hexSequence.size());
        const int digits = p;
        while (p < size && isHexDigit(text_[p]))
            ++p;
        if (p == digits)
            return {};
        position_ = p;
        return text_.mid(start, p - start);
    }
    if (start >= size || !isDigit(text_[start]))
        return {};
    int p = digitsFrom(start);
    if (p + 1 < size && text_[p] == u'.' && isDigit(text_[p + 1]))
        p = digitsFrom(p + 1);
    if (p < size && (text_[p] == u'e' || text_[p] == u'E')) {
        int q = p + 1;
        if (q < size && (text_[q] == u'+' || text_[q] == u'-'))
            ++q;
        if (q < size && isDigit(text_[q]))
            p = digitsFrom(q);
    }
    position_ = p;
    return text_.mid(start, p - start);
}

QString Tokenizer::readString(bool *ok)
{
    *ok = false;
    const int size = int(text_.size());
    const QChar quote = settings_.stringQuotes.isEmpty() ? QChar(u'\'') : settings_.stringQuotes[0];
    const QChar code = settings_.specStrChar.isEmpty() ? QChar() : settings_.specStrChar[0];
    QString value;
    int p = position_;
    bool parts = false;
    while (p < size) {
        if (text_[p] == quote) {
            int q = p + 1;
            bool closed = false;
            while (q < size) {
                const char16_t c = text_[q].unicode();
                if (c < 32 && c != u'\t')
                    return {};  // a line break or control character inside: no literal here
                if (text_[q] == quote) {
                    if (q + 1 < size && text_[q + 1] == quote) {
                        value += quote;
                        q += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                value += text_[q++];
            }
            if (!closed)
                return {};
            p = q + 1;
        } else if (!code.isNull() && text_[p] == code) {
            int q = p + 1;
            uint number = 0;
            bool digits = false;
            if (startsWith(q, settings_.hexSequence)) {
                q += int(settings_.hexSequence.size());
                while (q < size && isHexDigit(text_[q]) && number <= 0xFFFF) {
                    number = number * 16 + hexValue(text_[q]);
                    digits = true;
                    ++q;
                }
            } else {
                while (q < size && isDigit(text_[q]) && number <= 0xFFFF) {
                    number = number * 10 + uint(text_[q].unicode() - u'0');
                    digits = true;
                    ++q;
                }
            }
            if (!digits || number > 0xFFFF)
                break;
            value += QChar(char16_t(number));
            p = q;
        } else {
            break;
        }
        parts = true;
    }
    if (!parts)
        return {};
    position_ = p;
    *ok = true;
    return value;
}

QString Tokenizer::readFrString()
{
    const int start = position_;
    const int size = int(text_.size());
    int level = 0;
    QChar quote;
    int p = start;
    for (; p < size; ++p) {
        const QChar c = text_[p];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'<' || c == u'[') {
            ++level;
        } else if (c == u'>' || c == u']') {
            if (level == 0 && c == u'>')
                break;
            if (level > 0)
                --level;
        }
    }
    position_ = p;
    return text_.mid(start, p - start);
}

bool Tokenizer::readEol()
{
    int p = position_;
    const int size = int(text_.size());
    while (p < size && (text_[p] == u' ' || text_[p] == u'\t' || text_[p] == u'\r'))
        ++p;
    if (p < size && text_[p] != u'\n')
        return false;
    position_ = p < size ? p + 1 : p;
    return true;
}

QString textPosition(const QString &text, int offset)
{
    offset = std::clamp(offset, 0, int(text.size()));
    int line = 1;
    int lineStart = 0;
    for (int i = 0; i < offset; ++i) {
        if (text[i] == u'\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return QStringLiteral("%1:%2").arg(line).arg(offset - lineStart + 1);
}

}  // namespace vornak::script
