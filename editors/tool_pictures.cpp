#include "editors/tool_pictures.h"

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
    QSvgRenderer renderer(resource);
    QIcon icon;
    for (const qreal scale : {1.0, 2.0}) {
        QPixmap pixmap(QSize(size, size) * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon picture(int index)
{
    return renderSvg(QString::fromLatin1(resources[index]), Size);
}

}  // namespace tool_pictures

}  // namespace vornak
