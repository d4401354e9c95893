#include "editors/tool_pictures.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace vornak {

namespace tool_pictures {

namespace {

const char *const resources[] = {":/tool_plus.svg", ":/tool_minus.svg", ":/tool_wrenches.svg", ":/tool_printer.svg",
                                 ":/tool_edit.svg"};

}  // namespace

QIcon renderSvg(const QString &resource, int size)
{
    // Kept as images, which (unlike pixmaps) may outlive the application object.
    static QHash<QString, QList<QImage>> drawn;
    QList<QImage> &images = drawn[resource + u'@' + QString::number(size)];
    if (images.isEmpty()) {
        QSvgRenderer renderer(resource);
        for (const qreal scale : {1.0, 2.0}) {
            QImage image(QSize(size, size) * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            image.setDevicePixelRatio(scale);
            images.append(image);
        }
    }
    QIcon icon;
    for (const QImage &image : std::as_const(images))
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QIcon picture(int index)
{
    return renderSvg(QString::fromLatin1(resources[index]), Size);
}

}  // namespace tool_pictures

}  // namespace vornak
