#include "report/draw/pdf_font_maps.h"

#include <cctype>

namespace vornak {

namespace {

bool isDelimiter(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) || c == '<' || c == '>' || c == '[' || c == ']' || c == '/' ||
           c == '(' || c == ')';
}

// The tokens of PDF text: dictionary brackets, hex strings with their brackets, array brackets
// and words.
class Tokens {
public:
    explicit Tokens(QByteArrayView text)
        : text_(text)
    {
    }

    // The next token; empty at the end.
    QByteArrayView next()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
        const qsizetype start = at_;
        if (at_ >= text_.size())
            return {};
        if (text_.sliced(at_).startsWith("<<") || text_.sliced(at_).startsWith(">>")) {
            at_ += 2;
        } else if (text_[at_] == '<') {
            const qsizetype close = text_.indexOf('>', at_);
            at_ = close < 0 ? text_.size() : close + 1;
        } else if (text_[at_] == '[' || text_[at_] == ']') {
            ++at_;
        } else {
            ++at_;
            while (at_ < text_.size() && !isDelimiter(text_[at_]))
                ++at_;
        }
        return text_.sliced(start, at_ - start);
    }

private:
    QByteArrayView text_;
    qsizetype at_ = 0;
};

bool isHex(QByteArrayView token)
{
    return token.size() >= 2 && token.front() == '<' && token.back() == '>';
}

QByteArray hexOf(QByteArrayView token)
{
    return token.sliced(1, token.size() - 2).toByteArray().toUpper();
}

int numberOf(QByteArrayView token, bool *ok = nullptr)
{
    return token.toByteArray().toInt(ok);
}

// The body of object `number` ("N 0 obj ... endobj"); empty when `tail` does not hold it whole.
QByteArrayView objectOf(QByteArrayView tail, int number)
{
    const QByteArray head = QByteArray::number(number) + " 0 obj";
    for (qsizetype at = tail.indexOf(head); at >= 0; at = tail.indexOf(head, at + 1)) {
        if (at > 0 && tail[at - 1] != '\n' && tail[at - 1] != '\r')
            continue;
        const qsizetype body = at + head.size();
        const qsizetype end = tail.indexOf("endobj", body);
        if (end < 0)
            return {};
        return tail.sliced(body, end - body);
    }
    return {};
}

// The object named by `key` in `dictionary`: "/Key N 0 R" or "/Key [N 0 R]"; 0 when there is none.
int referenceOf(QByteArrayView dictionary, QByteArrayView key)
{
    const qsizetype at = dictionary.indexOf(key);
    if (at < 0)
        return 0;
    Tokens tokens(dictionary.sliced(at + key.size()));
    QByteArrayView token = tokens.next();
    if (token == "[")
        token = tokens.next();
    bool ok = false;
    const int number = numberOf(token, &ok);
    return ok && tokens.next() == "0" && tokens.next() == "R" ? number : 0;
}

// The widths of a descendant font's "/W" array, by glyph; empty when it has none.
QList<int> widthsOf(QByteArrayView font)
{
    const qsizetype at = font.indexOf("/W");
    if (at < 0)
        return {};
    Tokens tokens(font.sliced(at + 2));
    if (tokens.next() != "[")
        return {};
    QList<int> widths;
    const auto put = [&widths](int glyph, int width) {
        if (glyph < 0 || glyph > 0xFFFF)
            return;
        if (widths.size() <= glyph)
            widths.resize(glyph + 1, -1);
        widths[glyph] = width;
    };
    for (QByteArrayView token = tokens.next(); !token.isEmpty() && token != "]"; token = tokens.next()) {
        bool ok = false;
        int glyph = numberOf(token, &ok);
        if (!ok)
            return {};
        token = tokens.next();
        if (token == "[") {
            for (token = tokens.next(); !token.isEmpty() && token != "]"; token = tokens.next())
                put(glyph++, numberOf(token));
        } else {
            const int last = numberOf(token);
            const int width = numberOf(tokens.next());
            for (; glyph <= last; ++glyph)
                put(glyph, width);
        }
    }
    return widths;
}

// The next hex number after `hex` (a glyph or the last code unit of a text), same width.
QByteArray following(const QByteArray &hex, int step)
{
    const qulonglong value = hex.right(4).toULongLong(nullptr, 16);
    return hex.left(hex.size() - 4) + QByteArray::number(value + step, 16).toUpper().rightJustified(4, '0');
}

// The texts of a character map stream, by glyph; nullopt when the stream is not plain or not read.
std::optional<QMap<int, QByteArray>> textsOf(QByteArrayView stream)
{
    const qsizetype start = stream.indexOf("stream");
    if (start < 0 || stream.sliced(0, start).contains("/Filter"))
        return std::nullopt;
    Tokens tokens(stream.sliced(start + 6));
    QMap<int, QByteArray> texts;
    const auto glyphOf = [](QByteArrayView token) { return hexOf(token).toInt(nullptr, 16); };
    for (QByteArrayView token = tokens.next(); !token.isEmpty() && token != "endstream"; token = tokens.next()) {
        if (token == "beginbfchar") {
            for (token = tokens.next(); isHex(token); token = tokens.next()) {
                const QByteArrayView text = tokens.next();
                if (!isHex(text))
                    return std::nullopt;
                texts.insert(glyphOf(token), hexOf(text));
            }
        } else if (token == "beginbfrange") {
            for (token = tokens.next(); isHex(token); token = tokens.next()) {
                const int first = glyphOf(token);
                const int last = glyphOf(tokens.next());
                QByteArrayView text = tokens.next();
                if (text == "[") {
                    for (int glyph = first; glyph <= last; ++glyph) {
                        text = tokens.next();
                        if (!isHex(text))
                            return std::nullopt;
                        texts.insert(glyph, hexOf(text));
                    }
                    if (tokens.next() != "]")
                        return std::nullopt;
                } else if (isHex(text) && last - first < 0x10000) {
                    for (int glyph = first; glyph <= last; ++glyph)
                        texts.insert(glyph, following(hexOf(text), glyph - first));
                } else {
                    return std::nullopt;
                }
            }
        }
    }
    return texts;
}

}  // namespace

QList<TfrxPdfFont> frxPdfFonts(QByteArrayView tail)
{
    QList<TfrxPdfFont> fonts;
    for (qsizetype at = tail.indexOf("/Subtype /Type0"); at >= 0; at = tail.indexOf("/Subtype /Type0", at + 1)) {
        const qsizetype begin = tail.sliced(0, at).lastIndexOf("obj");
        const qsizetype end = tail.indexOf("endobj", at);
        if (begin < 0 || end < 0)
            continue;
        const QByteArrayView dictionary = tail.sliced(begin, end - begin);
        const qsizetype name = dictionary.indexOf("/BaseFont /");
        if (name < 0)
            continue;
        TfrxPdfFont font;
        font.Name = Tokens(dictionary.sliced(name + 10)).next().sliced(1).toByteArray();
        font.CharMap = referenceOf(dictionary, "/ToUnicode");
        font.Widths = widthsOf(objectOf(tail, referenceOf(dictionary, "/DescendantFonts")));
        const std::optional<QMap<int, QByteArray>> texts = textsOf(objectOf(tail, font.CharMap));
        if (font.CharMap == 0 || font.Widths.isEmpty() || !texts)
            continue;
        font.Texts = *texts;
        fonts << font;
    }
    return fonts;
}

std::optional<TfrxPdfTrailer> frxPdfTrailer(QByteArrayView tail)
{
    const qsizetype at = tail.lastIndexOf("trailer");
    if (at < 0)
        return std::nullopt;
    TfrxPdfTrailer trailer;
    Tokens tokens(tail.sliced(at));
    for (QByteArrayView token = tokens.next(); !token.isEmpty(); token = tokens.next()) {
        if (token == "/Size") {
            trailer.Size = numberOf(tokens.next());
        } else if (token == "/Root" || token == "/Info") {
            QByteArray &reference = token == "/Root" ? trailer.Root : trailer.Info;
            for (int part = 0; part < 3; ++part)  // "N G R"
                reference += (part > 0 ? " " : "") + tokens.next().toByteArray();
        } else if (token == "startxref") {
            trailer.CrossReference = tokens.next().toByteArray().toLongLong();
        }
    }
    if (trailer.Size <= 0 || trailer.Root.isEmpty() || trailer.CrossReference <= 0)
        return std::nullopt;
    return trailer;
}

QByteArray frxCharMap(const QMap<int, QByteArray> &texts)
{
    QByteArray map = "/CIDInit /ProcSet findresource begin\n"
                     "12 dict begin\n"
                     "begincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n"
                     "/CMapType 2 def\n"
                     "1 begincodespacerange\n"
                     "<0000> <FFFF>\n"
                     "endcodespacerange\n";
    constexpr int perBlock = 100;  // the most a block may hold
    for (auto entry = texts.cbegin(); entry != texts.cend();) {
        const int count = int(qMin<qsizetype>(perBlock, std::distance(entry, texts.cend())));
        map += QByteArray::number(count) + " beginbfchar\n";
        for (int i = 0; i < count; ++i, ++entry)
            map += '<' + QByteArray::number(entry.key(), 16).toUpper().rightJustified(4, '0') + "> <" + entry.value() +
                   ">\n";
        map += "endbfchar\n";
    }
    map += "endcmap\n"
           "CMapName currentdict /CMap defineresource pop\n"
           "end\n"
           "end\n";
    return map;
}

QByteArray frxPdfUpdate(const QMap<int, QByteArray> &streams, const TfrxPdfTrailer &trailer, qint64 documentSize)
{
    QByteArray update = "\n";
    QMap<int, qint64> offsets;
    for (auto stream = streams.cbegin(); stream != streams.cend(); ++stream) {
        offsets.insert(stream.key(), documentSize + update.size());
        update += QByteArray::number(stream.key()) + " 0 obj\n<< /Length " + QByteArray::number(stream.value().size()) +
                  " >>\nstream\n" + stream.value() + "\nendstream\nendobj\n";
    }
    const qint64 crossReference = documentSize + update.size();
    update += "xref\n";
    for (auto offset = offsets.cbegin(); offset != offsets.cend(); ++offset)
        update += QByteArray::number(offset.key()) + " 1\n" +
                  QByteArray::number(offset.value()).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<< /Size " + QByteArray::number(trailer.Size) + " /Root " + trailer.Root;
    if (!trailer.Info.isEmpty())
        update += " /Info " + trailer.Info;
    update += " /Prev " + QByteArray::number(trailer.CrossReference) + " >>\nstartxref\n" +
              QByteArray::number(crossReference) + "\n%%EOF\n";
    return update;
}

}  // namespace vornak
