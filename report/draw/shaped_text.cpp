#include "report/draw/shaped_text.h"

#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>

namespace vornak {

QList<QGlyphRun> frxShapedRuns(const QString &text, const QFont &font, bool rightToLeft, QPaintDevice *device)
{
    QTextLayout layout(text, font, device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return {};
    QList<QGlyphRun> runs = line.glyphRuns();
    const QPointF origin(line.x(), line.y() + line.ascent());
    for (QGlyphRun &run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF &position : positions)
            position -= origin;
        run.setPositions(positions);
    }
    return runs;
}

QList<QString> frxGlyphTexts(const QGlyphRun &run, const QString &text, bool wholeText)
{
    const QList<quint32> glyphs = run.glyphIndexes();
    if (wholeText && glyphs.size() == 1)
        return {text};
    QList<QString> texts(glyphs.size());
    const QRawFont font = run.rawFont();
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype length = text[start].isHighSurrogate() && start + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(start, length);
        const QList<quint32> own = font.glyphIndexesForString(character);
        if (own.size() == 1 && own.first() != 0) {
            const qsizetype at = glyphs.indexOf(own.first());
            if (at >= 0 && texts[at].isEmpty())
                texts[at] = character;
        }
        start += length;
    }
    return texts;
}

}  // namespace vornak
