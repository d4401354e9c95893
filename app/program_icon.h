#pragma once

// The program's icon, drawn from its SVG resource at whatever size the window system asks for.
// Drawn by our own icon engine over the SVG renderer the program links anyway: Qt's SVG icon
// engine is a plugin, and loading it cost the start-up a millisecond or two before the splash.

#include <QIcon>

namespace vornak {

QIcon programIcon();

}  // namespace vornak
