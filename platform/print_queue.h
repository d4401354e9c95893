#pragma once

// Handing a finished document to a queue of the print system (CUPS). The print system's client
// library is loaded at the first job, not when the program starts: it brings the network, name
// service and security libraries with it, which would lengthen every start-up, and most sessions
// never print. Qt's print support loads the same library once a printer is first asked for.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace vornak {

namespace print_queue {

// One job option as the print system names it ("copies", "2").
using Option = std::pair<QByteArray, QByteArray>;

// Submits the file at `path` to `queue` as a job titled `title` with `options`; false when the
// print system refuses the job or its library cannot be loaded.
bool submit(const QByteArray &queue, const QString &path, const QString &title, const QList<Option> &options);

}  // namespace print_queue

}  // namespace vornak
