#pragma once

// The period report as a PDF file: one code for `vornak-db report --pdf` and the report tab's
// "Сохранить PDF...", so both write the same pages.

#include <QDate>
#include <QString>

namespace vornak {

class PdfFile;
class TDataModule1;
class PeriodReport;

// Opens the run of the vehicle `vehicleId` (its key as text) and the period on `period`, prepares
// the report and puts its pages into `file` (created by the caller before, so that a path that
// cannot be written fails first). False when the report could not be prepared (its errors were
// reported as the report's settings say); raises Error when the file cannot be written, leaving
// nothing behind.
bool WritePeriodReportPdf(PeriodReport &period, TDataModule1 &dataModule, const QString &vehicleId, const QDate &first,
                          const QDate &last, PdfFile &file);

}  // namespace vornak
