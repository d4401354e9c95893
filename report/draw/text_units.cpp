#include "report/draw/text_units.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace vornak {

namespace {

// Scripts whose letters change shape with their neighbours or combine into clusters: a word of
// them is shaped as a whole.
constexpr QChar::Script shapedScripts[] = {
    QChar::Script_Arabic,    QChar::Script_Syriac,     QChar::Script_Thaana,  QChar::Script_Nko,
    QChar::Script_Mandaic,   QChar::Script_Devanagari, QChar::Script_Bengali, QChar::Script_Gurmukhi,
    QChar::Script_Gujarati,  QChar::Script_Oriya,      QChar::Script_Tamil,   QChar::Script_Telugu,
    QChar::Script_Kannada,   QChar::Script_Malayalam,  QChar::Script_Sinhala, QChar::Script_Thai,
    QChar::Script_Lao,       QChar::Script_Tibetan,    QChar::Script_Myanmar, QChar::Script_Khmer,
    QChar::Script_Mongolian, QChar::Script_Hangul,
};

enum class Direction { Neutral, LeftToRight, RightToLeft, Number };

Direction directionOf(char32_t c)
{
    switch (QChar::direction(c)) {
    case QChar::DirL:
        return Direction::LeftToRight;
    case QChar::DirR:
    case QChar::DirAL:
        return Direction::RightToLeft;
    case QChar::DirEN:
    case QChar::DirAN:
        return Direction::Number;
    default:
        return Direction::Neutral;
    }
}

// Characters that join, combine, run right to left or steer the direction.
bool needsShaping(char32_t c)
{
    switch (QChar::direction(c)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirRLI:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDF:
    case QChar::DirPDI:
        return true;
    default:
        break;
    }
    if (c == 0x200C || c == 0x200D)  // zero-width non-joiner and joiner
        return true;
    const QChar::Script script = QChar::script(c);
    return std::find(std::begin(shapedScripts), std::end(shapedScripts), script) != std::end(shapedScripts);
}

// A code unit that is a whole character drawn by one glyph of its own.
bool isPlain(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x0300 || (u >= 0x0400 && u <= 0x0482) || (u >= 0x048A && u <= 0x052F))
        return true;  // Latin, Cyrillic, Greek: the common case, decided without a table lookup
    if (c.isSurrogate() || c.isMark() || (u >= 0xFE00 && u <= 0xFE0F))
        return false;
    return !needsShaping(u);
}

// Calls `visit` with every character of `text` (a surrogate pair as one) until it returns true;
// true when it did.
template <class Visit>
bool anyCharacter(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (visit(c))
            return true;
    }
    return false;
}

// The strongest direction of `text`: its first strongly directed character, else a number.
Direction directionOf(QStringView text)
{
    Direction found = Direction::Neutral;
    anyCharacter(text, [&found](char32_t c) {
        const Direction d = directionOf(c);
        if (d == Direction::LeftToRight || d == Direction::RightToLeft) {
            found = d;
            return true;
        }
        if (d == Direction::Number)
            found = d;
        return false;
    });
    return found;
}

bool anyNeedsShaping(QStringView text)
{
    return anyCharacter(text, needsShaping);
}

}  // namespace

bool frxIsPlainText(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isPlain);
}

QList<TfrxTextUnit> frxTextUnits(QStringView text)
{
    QList<TfrxTextUnit> units;
    if (frxIsPlainText(text))
        return units;
    const int length = int(text.size());
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.data(), length);
    bool lastShaped = false;
    int at = 0;
    while (at < length) {
        qsizetype next = graphemes.toNextBoundary();
        if (next <= at || next > length)
            next = length;
        const QStringView cluster = text.mid(at, next - at);
        const bool blank = cluster.size() == 1 && cluster.front() == u' ';
        const bool shaped = !blank && anyNeedsShaping(cluster);
        if (shaped && lastShaped) {
            units.last().Length += int(cluster.size());  // the same word
        } else {
            TfrxTextUnit unit;
            unit.Start = at;
            unit.Length = int(cluster.size());
            unit.Whole = shaped || cluster.size() > 1 || !isPlain(cluster.front());
            unit.Blank = blank;
            units.append(unit);
        }
        lastShaped = shaped;
        at = int(next);
    }
    for (TfrxTextUnit &unit : units)
        unit.RightToLeft = unit.Whole && directionOf(text.mid(unit.Start, unit.Length)) == Direction::RightToLeft;
    return units;
}

QList<TfrxTextUnit> frxLineUnits(const QList<TfrxTextUnit> &units, int from, int count)
{
    QList<TfrxTextUnit> line = units.mid(from, count);
    const int offset = line.isEmpty() ? 0 : line.first().Start;
    for (TfrxTextUnit &unit : line)
        unit.Start -= offset;
    return line;
}

QList<int> frxVisualPositions(const QList<TfrxTextUnit> &units, QStringView line, const QList<int> &advances, int x)
{
    const int n = int(units.size());
    QList<int> left(n);
    QList<Direction> directions(n);
    for (int i = 0; i < n; ++i) {
        left[i] = x;
        x += advances[i];
        directions[i] = directionOf(line.mid(units[i].Start, units[i].Length));
    }
    QList<int> placed = left;
    for (int first = 0; first < n; ++first) {
        if (directions[first] != Direction::RightToLeft)
            continue;
        // The run: up to the last right-to-left unit or number before a left-to-right unit.
        int last = first;
        for (int i = first + 1; i < n && directions[i] != Direction::LeftToRight; ++i)
            if (directions[i] == Direction::RightToLeft || directions[i] == Direction::Number)
                last = i;
        const int runLeft = left[first];
        const int runRight = left[last] + advances[last];
        // Mirror it block by block: a right-to-left unit or a blank alone, anything else (a
        // number with its separators) as one block that keeps its order.
        for (int begin = first; begin <= last;) {
            int end = begin;
            const auto alone = [&](int i) { return directions[i] == Direction::RightToLeft || units[i].Blank; };
            if (!alone(begin))
                while (end < last && !alone(end + 1))
                    ++end;
            const int blockRight = left[end] + advances[end];
            const int shift = runLeft + (runRight - blockRight) - left[begin];
            for (int i = begin; i <= end; ++i)
                placed[i] = left[i] + shift;
            begin = end + 1;
        }
        first = last;
    }
    return placed;
}

}  // namespace vornak
