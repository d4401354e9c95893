#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vornak::log_book {

// The lists of the main window by their command-line names: vehicles, readings, expenses, events,
// expense-types.
QStringList listNames();

// The list `list` of the log book `file` as CSV (RFC 4180: UTF-8, a header row, lines ended with
// CR LF): the columns the main window shows and the keys, dates in ISO form, numbers with a
// point. With `vehicle` (key or name), only that vehicle's entries. Read through the data module,
// as the main window reads them. Raises Error for an unknown list or vehicle.
QByteArray exportList(const QString &file, const QString &list, const QString &vehicle = {});

// One CSV field: in double quotes (a quote inside doubled) when it holds a comma, a quote, a
// carriage return or a line feed.
QString csvField(const QString &text);

}  // namespace vornak::log_book
