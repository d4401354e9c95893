#pragma once

#include <QPainter>

namespace vornak {

// Saves the painter's state (pen, clipping, hints) for its lifetime.
class PainterState {
public:
    explicit PainterState(QPainter &canvas)
        : canvas_(canvas)
    {
        canvas_.save();
    }
    ~PainterState() { canvas_.restore(); }
    PainterState(const PainterState &) = delete;
    PainterState &operator=(const PainterState &) = delete;

private:
    QPainter &canvas_;
};

}  // namespace vornak
