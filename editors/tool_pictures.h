#pragma once

#include <QIcon>
#include <QString>

namespace vornak {

// The 19 × 19 toolbar pictures of the main window, shared by the expense type catalogue:
// 0 a green plus, 1 a green minus, 2 two crossed wrenches, 3 a printer, 4 a document with a
// pencil.
namespace tool_pictures {

inline constexpr int Plus = 0;
inline constexpr int Minus = 1;
inline constexpr int Wrenches = 2;
inline constexpr int Printer = 3;
inline constexpr int Edit = 4;
inline constexpr int Size = 19;

QIcon picture(int index);
// A picture drawn from one of our SVG resources at `size` × `size` pixels. Each picture is drawn
// once per process and size, and kept: the windows share the few there are, and the start-up
// draws the main window's pictures ahead, between the frames of its animation.
QIcon renderSvg(const QString &resource, int size);

}  // namespace tool_pictures

}  // namespace vornak
