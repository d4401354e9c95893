#include "report/draw/pdf_text_layer.h"

#include "report/draw/pdf_font_maps.h"

#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <atomic>
#include <cctype>
#include <vector>

namespace vornak {

namespace {

// The PostScript name of `font` (the name a PDF gives it), letters, digits and hyphens only.
QByteArray postScriptName(const QRawFont &font)
{
    const QByteArray table = font.fontTable("name");
    const auto word = [&table](qsizetype at) {
        return at + 2 <= table.size() ? quint16(quint8(table[at]) << 8 | quint8(table[at + 1])) : quint16(0);
    };
    const int count = word(2);
    const int strings = word(4);
    QByteArray name;
    for (int record = 0; record < count && name.isEmpty(); ++record) {
        const qsizetype at = 6 + 12 * qsizetype(record);
        const int platform = word(at);
        const int length = word(at + 8);
        const qsizetype start = strings + word(at + 10);
        if (word(at + 6) != 6 || start + length > table.size())
            continue;
        // Windows names are UTF-16; the others one byte a character.
        const int step = platform == 3 || platform == 0 ? 2 : 1;
        for (qsizetype i = start + step - 1; i < start + length; i += step)
            name += table[i];
    }
    QByteArray plain;
    for (const char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
            plain += c;
    return plain;
}

QByteArray utf16Hex(const QString &text)
{
    QByteArray hex;
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return hex;
}

bool isUnmapped(const QByteArray &hex)
{
    return hex.isEmpty() || hex.count('0') == hex.size();
}

}  // namespace

// What was drawn in each font: the glyphs in the order they were first drawn (the writer's
// numbering), with their widths and the text of those whose text is known.
class TfrxPdfTextLayer {
public:
    void note(const QRawFont &font, const QList<quint32> &glyphs, const QList<QString> &texts)
    {
        Face &face = faceOf(font);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const quint32 glyph = glyphs[i];
            if (glyph >= face.numbers.size())
                face.numbers.resize(glyph + 1, -1);
            if (face.numbers[glyph] < 0) {
                face.numbers[glyph] = int(face.order.size());
                face.order.push_back(glyph);
            }
            if (i < texts.size() && !texts[i].isEmpty() && !face.texts.contains(glyph)) {
                const QList<QPointF> advance = font.advancesForGlyphIndexes({glyph}, QRawFont::UseDesignMetrics);
                face.texts.insert(glyph, {texts[i], advance.first().x() * 1000 / font.pixelSize()});
            }
        }
    }

    // The update that gives the glyphs with a known text their text, for a document whose last
    // `tail.size()` bytes of `size` are `tail`; empty when there is nothing to add.
    QByteArray update(QByteArrayView tail, qint64 size) const
    {
        const std::optional<TfrxPdfTrailer> trailer = frxPdfTrailer(tail);
        if (!trailer)
            return {};
        QMap<int, QByteArray> streams;
        for (TfrxPdfFont &font : frxPdfFonts(tail)) {
            const auto face = byName_.constFind(font.Name);
            if (face != byName_.cend() && amend(**face, font))
                streams.insert(font.CharMap, frxCharMap(font.Texts));
        }
        return streams.isEmpty() ? QByteArray() : frxPdfUpdate(streams, *trailer, size);
    }

private:
    struct Text {
        QString text;
        double width = 0;  // thousandths of the em
    };
    struct Face {
        std::vector<int> numbers;       // by glyph: its number in the document's font, or -1
        std::vector<quint32> order{0};  // by number: the glyph (the writer gives 0 to glyph 0)
        QHash<quint32, Text> texts;
    };

    Face &faceOf(const QRawFont &font)
    {
        if (lastFace_ != nullptr && font == lastFont_)
            return *lastFace_;  // most runs are of the font before
        lastFont_ = font;
        lastFace_ = &lookUp(font);
        return *lastFace_;
    }

    Face &lookUp(const QRawFont &font)
    {
        const auto known = byFont_.constFind(font);
        if (known != byFont_.cend())
            return **known;
        const QByteArray name = postScriptName(font);
        Face *&face = byName_[name];
        if (face == nullptr) {
            faces_.push_back(std::make_unique<Face>());
            face = faces_.back().get();
        }
        byFont_.insert(font, face);
        return *face;
    }

    // Puts the known texts into `font`'s map where the writer left a glyph without one; false
    // when nothing changes or the font's widths show another numbering than the one followed.
    static bool amend(const Face &face, TfrxPdfFont &font)
    {
        bool changed = false;
        for (auto text = face.texts.cbegin(); text != face.texts.cend(); ++text) {
            const int number = face.numbers[text.key()];
            if (number >= font.Widths.size() || qAbs(font.Widths[number] - text->width) > 2)
                return false;
            QByteArray &hex = font.Texts[number];
            if (isUnmapped(hex)) {
                hex = utf16Hex(text->text);
                changed = true;
            }
        }
        return changed;
    }

    QRawFont lastFont_;
    Face *lastFace_ = nullptr;
    QHash<QRawFont, Face *> byFont_;
    QHash<QByteArray, Face *> byName_;
    std::vector<std::unique_ptr<Face>> faces_;
};

namespace {

// The documents being drawn, by their writer; the generation changes whenever one opens or ends.
std::atomic<int> openDocuments{0};
std::atomic<unsigned> registryGeneration{0};

QMutex &registryMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<const QPaintDevice *, TfrxPdfTextLayer *> &registry()
{
    static QHash<const QPaintDevice *, TfrxPdfTextLayer *> layers;
    return layers;
}

// The device the writer writes to: passes every byte on and keeps those written after `keep`.
class TailKeeper : public QIODevice {
public:
    explicit TailKeeper(QIODevice &target)
        : target_(target)
    {
        open(QIODevice::WriteOnly);
    }

    void keep() { keeping_ = true; }
    const QByteArray &tail() const { return tail_; }
    qint64 written() const { return written_; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 done = target_.write(data, size);
        if (done > 0) {
            written_ += done;
            if (keeping_)
                tail_.append(data, done);
        }
        return done;
    }

private:
    QIODevice &target_;
    bool keeping_ = false;
    QByteArray tail_;
    qint64 written_ = 0;
};

}  // namespace

struct TfrxPdfDocument::Private {
    explicit Private(QIODevice &target)
        : target(target),
          keeper(target),
          writer(&keeper)
    {
    }

    QIODevice &target;
    TailKeeper keeper;
    QPdfWriter writer;
    TfrxPdfTextLayer layer;
};

TfrxPdfDocument::TfrxPdfDocument(QIODevice &target)
    : d_(std::make_unique<Private>(target))
{
    const QMutexLocker lock(&registryMutex());
    registry().insert(&d_->writer, &d_->layer);
    ++openDocuments;
    ++registryGeneration;
}

TfrxPdfDocument::~TfrxPdfDocument()
{
    const QMutexLocker lock(&registryMutex());
    registry().remove(&d_->writer);
    --openDocuments;
    ++registryGeneration;
}

QPdfWriter &TfrxPdfDocument::writer()
{
    return d_->writer;
}

bool TfrxPdfDocument::end(QPainter &canvas)
{
    d_->keeper.keep();  // the fonts, their maps and the trailer come at the end
    if (!canvas.end())
        return false;
    const QByteArray update = d_->layer.update(d_->keeper.tail(), d_->keeper.written());
    return update.isEmpty() || d_->target.write(update) == update.size();
}

void frxNoteGlyphs(const QPaintDevice *device, const QRawFont &font, const QList<quint32> &glyphs,
                   const QList<QString> &texts)
{
    if (openDocuments.load(std::memory_order_relaxed) == 0)
        return;
    // The layer of the device drawn on last, as long as no document has opened or ended since.
    thread_local struct {
        unsigned generation = ~0u;
        const QPaintDevice *device = nullptr;
        TfrxPdfTextLayer *layer = nullptr;
    } last;
    const unsigned generation = registryGeneration.load(std::memory_order_acquire);
    if (last.generation != generation || last.device != device) {
        const QMutexLocker lock(&registryMutex());
        last = {registryGeneration.load(std::memory_order_relaxed), device, registry().value(device)};
    }
    if (last.layer != nullptr)
        last.layer->note(font, glyphs, texts);
}

}  // namespace vornak
