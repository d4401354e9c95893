// Renders an SVG picture into a square PNG of the given size (the menu icon at build time).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fputs("Usage: render-icon PICTURE.svg SIZE OUT.png\n", stderr);
        return 2;
    }
    QSvgRenderer picture(args[1]);
    const int size = args[2].toInt();
    if (!picture.isValid() || size <= 0) {
        std::fputs("render-icon: not an SVG picture, or not a size\n", stderr);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter);
    painter.end();
    return image.save(args[3], "PNG") ? 0 : 1;
}
