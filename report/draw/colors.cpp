#include "report/draw/colors.h"

namespace vornak {

namespace {

// The system colours a report may name, by index (the low byte of the value), as a light theme
// shows them.
struct SystemColor {
    int index;
    QRgb rgb;
};
constexpr SystemColor systemColors[] = {
    {5, 0xFFFFFF},   // clWindow
    {8, 0x000000},   // clWindowText
    {15, 0xF0F0F0},  // clBtnFace
    {16, 0xA0A0A0},  // clBtnShadow
    {17, 0x808080},  // clGrayText
    {18, 0x000000},  // clBtnText
    {20, 0xFFFFFF},  // clBtnHighlight
};

}  // namespace

QColor frxQColor(TColor color)
{
    if (color == clNone)
        return QColor();
    if (quint32(color) & 0x80000000u) {
        for (const SystemColor &system : systemColors)
            if (system.index == (color & 0xFF))
                return QColor::fromRgb(system.rgb);
        return QColor(Qt::black);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace vornak
