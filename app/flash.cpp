#include "app/flash.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>

namespace vornak {

namespace {

// The car picture, read as the PNG it is: a reader left to detect the format first loads every
// image format plugin to ask whether it reads PNG too, a few milliseconds before the splash
// can show.
QImage splashPicture()
{
    QImageReader reader(QStringLiteral(":/splash_car.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

TImage::TImage(const QImage &picture, QWidget *parent)
    : QWidget(parent)
{
    // The transparent colour becomes alpha once, so painting is a plain scaled draw.
    picture_ = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = picture_.pixel(0, picture_.height() - 1);
    for (int y = 0; y < picture_.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture_.scanLine(y));
        for (int x = 0; x < picture_.width(); ++x) {
            if (line[x] == transparent)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
}

void TImage::paintEvent(QPaintEvent *)
{
    const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    QPainter painter(this);
    painter.drawImage(target, picture_);
}

TFlash::TFlash()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Flash"));
    setWindowTitle(QStringLiteral("Загрузка..."));
    setFixedSize(311, 62);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Image1 = new TImage(splashPicture(), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 105, 45);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

}  // namespace vornak
