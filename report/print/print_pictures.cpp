// Each picture is a packed SVG document: the resource is read, inflated by zlib (gzip framing)
// and rendered at the size the document declares. Rendered pixmaps are kept for the process.

#include "report/print/print_pictures.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <zlib.h>

namespace vornak {

namespace {

const char *const resources[] = {
    ":/print_dialog/printer.svg.gz",      ":/print_dialog/collate_on.svg.gz", ":/print_dialog/collate_off.svg.gz",
    ":/print_dialog/mode_default.svg.gz", ":/print_dialog/mode_split.svg.gz", ":/print_dialog/mode_join.svg.gz",
    ":/print_dialog/mode_scale.svg.gz",
};

QPixmap render(const QByteArray &svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

QByteArray gunzip(const QByteArray &packed)
{
    z_stream stream{};
    constexpr int gzipWindow = 16 + MAX_WBITS;  // zlib reads the gzip header and trailer
    if (inflateInit2(&stream, gzipWindow) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    QByteArray result;
    char chunk[16384];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        result.append(chunk, qsizetype(sizeof chunk - stream.avail_out));
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? result : QByteArray();
}

QPixmap printPicture(PrintPicture picture)
{
    static QHash<int, QPixmap> drawn;
    const int index = int(picture);
    if (const auto at = drawn.constFind(index); at != drawn.constEnd())
        return *at;
    QFile file(QString::fromLatin1(resources[index]));
    const QPixmap pixmap = file.open(QIODevice::ReadOnly) ? render(gunzip(file.readAll())) : QPixmap();
    drawn.insert(index, pixmap);
    return pixmap;
}

}  // namespace vornak
