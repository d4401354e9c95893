#pragma once

#include <QImage>
#include <QWidget>

namespace vornak {

// A picture control: the picture stretched proportionally to fit the control, centred in it,
// and drawn transparent (the colour of its bottom-left pixel is not painted).
class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(const QImage &picture, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};

// The splash window shown while the windows are created and the start-up animation plays.
class TFlash : public QWidget {
    Q_OBJECT
public:
    TFlash();
    TImage *Image1;
};

}  // namespace vornak
