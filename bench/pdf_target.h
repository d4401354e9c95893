#pragma once

// Where the drawing benchmarks draw: a PDF writer on an in-memory buffer with A4 paper and no
// margins, so that pages land where the report puts them and no file is written.

#include <QBuffer>
#include <QMarginsF>
#include <QPageSize>
#include <QPdfWriter>

namespace vornak::bench {

struct PdfTarget {
    QBuffer buffer;
    QPdfWriter writer{&buffer};

    PdfTarget()
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }
    // Device pixels per report pixel (96 per inch).
    double scale() const { return writer.resolution() / 96.0; }
};

}  // namespace vornak::bench
