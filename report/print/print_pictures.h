#pragma once

// The print dialog's pictures: the printer icon of the printer list, the collate pictures and
// the print mode pictures. They are kept gzip-packed in the resources, inflated with zlib and
// drawn once.

#include <QByteArray>
#include <QPixmap>

namespace vornak {

enum class PrintPicture { Printer, Collated, Uncollated, ModeDefault, ModeSplit, ModeJoin, ModeScale };

// The picture at its own size; a null pixmap when its resource cannot be read.
QPixmap printPicture(PrintPicture picture);

// The data of a gzip stream; empty when `packed` is not one.
QByteArray gunzip(const QByteArray &packed);

}  // namespace vornak
