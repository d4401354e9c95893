#pragma once

#include <QDate>

namespace vornak {

class Connection;

namespace log_book {

// Fills an empty log book with a year of sample entries ending on `today`: two vehicles, their
// odometer readings, expenses of several types and maintenance events. The same date always
// gives the same entries.
void fillDemo(Connection &connection, const QDate &today);

}  // namespace log_book
}  // namespace vornak
