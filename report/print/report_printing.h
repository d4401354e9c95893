#pragma once

// Printing the prepared pages of a report (Print of the prepared pages store): choosing the
// printer, the print dialog, and the print loop that sends the pages to the printer.

#include <functional>
#include <QString>

namespace vornak {

class TfrxCustomPrinter;
class TfrxReport;
struct TfrxPrintOptions;

// What the windows around printing do; every member may be empty.
struct TfrxPrintEvents {
    // The print dialog: edits `options` and the current printer; true for OK. A file chosen for
    // printing into a file goes to `fileName`. Without it printing goes on as if OK was pressed.
    std::function<bool(TfrxPrintOptions &options, QString &fileName)> ShowDialog;
    // The preview shows only its background until the report is prepared again.
    std::function<void()> LockPreview;
    // The progress window: opened when the loop starts, told each page's message
    // ("Печатается страница %d"), closed at the end. Setting the report's Terminated (its
    // "Отмена") stops the loop before the next page.
    std::function<void()> PrintStarted;
    std::function<void(int pageNo, const QString &message)> PrintProgress;
    std::function<void()> PrintStopped;
};

// Prints the report's prepared pages with its print options on the current printer of
// frxPrinters(); true when printing was carried out. The print options are restored afterwards:
// choices made in the dialog last for one print. Without printers it shows "В вашей системе не
// установлено принтеров" and returns false. A page list with an item that is not a number raises
// ConversionError before anything is locked or sent.
bool frxPrint(TfrxReport &report, const TfrxPrintEvents &events = {});

}  // namespace vornak

namespace vornak {

// The page list that prints the page the preview shows ("Текущая"): its number.
QString frxCurrentPageList(TfrxReport &report);

}  // namespace vornak
