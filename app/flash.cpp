#include "app/flash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace vornak {

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

    Image1 = new TImage(QImage(QStringLiteral(":/splash_car.png")), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 105, 45);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

}  // namespace vornak
