// The print system's client library, loaded at the first job (see print_queue.h). Its header
// still gives the functions' types; the functions themselves are looked up in the library.
#include "platform/print_queue.h"

#include <cups/cups.h>
#include <QFile>
#include <QLibrary>

namespace vornak {

namespace print_queue {

namespace {

constexpr int libraryVersion = 2;  // libcups.so.2

// The functions a job needs; all null when the library could not be loaded.
struct CupsFunctions {
    decltype(&cupsAddOption) addOption = nullptr;
    decltype(&cupsPrintFile) printFile = nullptr;
    decltype(&cupsFreeOptions) freeOptions = nullptr;

    CupsFunctions()
    {
        QLibrary library(QStringLiteral("cups"), libraryVersion);
        addOption = reinterpret_cast<decltype(addOption)>(library.resolve("cupsAddOption"));
        printFile = reinterpret_cast<decltype(printFile)>(library.resolve("cupsPrintFile"));
        freeOptions = reinterpret_cast<decltype(freeOptions)>(library.resolve("cupsFreeOptions"));
        // The library stays loaded for the rest of the process: QLibrary unloads only on unload().
    }
    bool loaded() const { return addOption && printFile && freeOptions; }
};

const CupsFunctions &cups()
{
    static const CupsFunctions functions;
    return functions;
}

}  // namespace

bool submit(const QByteArray &queue, const QString &path, const QString &title, const QList<Option> &options)
{
    const CupsFunctions &library = cups();
    if (!library.loaded())
        return false;
    cups_option_t *cupsOptions = nullptr;
    int count = 0;
    for (const auto &[name, value] : options)
        count = library.addOption(name.constData(), value.constData(), count, &cupsOptions);
    const int job = library.printFile(queue.constData(), QFile::encodeName(path).constData(),
                                      title.toUtf8().constData(), count, cupsOptions);
    library.freeOptions(count, cupsOptions);
    return job > 0;
}

}  // namespace print_queue

}  // namespace vornak
