// The program's icon (see program_icon.h).
#include "app/program_icon.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace vornak {

namespace {

constexpr const char *iconResource = ":/vornak.svg";

// Draws the SVG picture into the rectangle asked for; the picture has no sizes of its own, so the
// window system asks for the sizes it uses.
class SvgIconEngine : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        QSvgRenderer(QString::fromLatin1(iconResource)).render(painter, rect);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, image.rect(), mode, state);
        painter.end();
        return QPixmap::fromImage(image);
    }

    QIconEngine *clone() const override { return new SvgIconEngine; }
    QString key() const override { return QStringLiteral("vornak-svg"); }
};

}  // namespace

QIcon programIcon()
{
    return QIcon(new SvgIconEngine);
}

}  // namespace vornak
