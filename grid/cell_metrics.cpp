#include "grid/cell_metrics.h"

#include <cmath>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRawFont>
#include <QtEndian>

namespace vornak {

namespace {

template <class T>
T readBigEndian(const QByteArray &table, int offset)
{
    return qFromBigEndian<T>(table.constData() + offset);
}

CellMetrics measure(const QFont &font)
{
    const QFontMetrics metrics(font);
    CellMetrics fallback{metrics.ascent(), metrics.descent(), std::max(0, metrics.leading())};
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.fontTable("OS/2");
    const QByteArray head = raw.fontTable("head");
    const QByteArray hhea = raw.fontTable("hhea");
    if (!raw.isValid() || os2.size() < 78 || head.size() < 20 || hhea.size() < 10)
        return fallback;
    const int unitsPerEm = readBigEndian<quint16>(head, 18);
    if (unitsPerEm == 0)
        return fallback;
    const double scale = raw.pixelSize() / unitsPerEm;
    const int winAscent = readBigEndian<quint16>(os2, 74);
    const int winDescent = readBigEndian<quint16>(os2, 76);
    const int hheaAscent = readBigEndian<qint16>(hhea, 4);
    const int hheaDescent = readBigEndian<qint16>(hhea, 6);
    const int lineGap = readBigEndian<qint16>(hhea, 8);
    const int leadingUnits = std::max(0, lineGap + hheaAscent - hheaDescent - winAscent - winDescent);
    return {int(std::lround(winAscent * scale)), int(std::lround(winDescent * scale)),
            int(std::lround(leadingUnits * scale))};
}

}  // namespace

CellMetrics cellMetrics(const QFont &font)
{
    static QHash<QString, CellMetrics> cache;
    const QString key = font.key();
    auto it = cache.constFind(key);
    if (it == cache.constEnd())
        it = cache.insert(key, measure(font));
    return *it;
}

}  // namespace vornak
