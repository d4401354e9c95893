#pragma once

#include "report/model/custom_memo_view.h"
#include "report/model/memo_view.h"

#include <QImage>
#include <QRect>

namespace vornak::test {

// Font heights of the period report's texts.
constexpr int bodyFont = -16;
constexpr int titleFont = -21;
constexpr TfrxFrameTypes fullFrame = ftLeft | ftRight | ftTop | ftBottom;

struct MemoSpec {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QString text;
    TFontStyles style = 0;
    TfrxFrameTypes frame = 0;
    TfrxHAlign hAlign = haLeft;
    int fontHeight = bodyFont;
};

// An Arial memo under `parent`, as the period report's texts are.
inline TfrxMemoView *addMemo(TfrxComponent *parent, const MemoSpec &spec)
{
    auto *memo = new TfrxMemoView(parent);
    memo->SetBounds(spec.left, spec.top, spec.width, spec.height);
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.Height = spec.fontHeight;
    font.Style = spec.style;
    memo->SetFont(font);
    memo->Frame().SetTyp(spec.frame);
    memo->SetHAlign(spec.hAlign);
    memo->SetText(spec.text);
    return memo;
}

inline QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The smallest rectangle holding every pixel darker than mid grey (empty when none).
inline QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

}  // namespace vornak::test
