#pragma once

// Reading the rows of the old log book ahead, on a thread of its own, while the new file is
// written: the rows of the five tables come over in batches, in the order of the tables and, within
// a table, in the order they lie in the old file. A failure of reading travels in that order too,
// so the import meets it where reading the rows one after the other would have.

#include "migrate/jet_file.h"
#include "tools/log_book_schema.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace vornak {

// Whole rows of one table, their values back to back in the table's column order.
struct RowBatch {
    qsizetype table = 0;  // in the list the reader was given
    QList<Variant> values;
    bool last = false;   // the table's last batch: the figures below are set
    qsizetype rows = 0;  // of the whole table
    qint64 highestKey = 0;
    qint64 counter = 0;  // the old file's own AutoNumber counter of the table
};

class OldRowsReader {
public:
    // Starts reading `tables` of `old`, which nothing else may use until this reader is gone; a
    // batch holds at most `batchRows(table)` rows. Refuses a row the new file would take as
    // another one (a missing key, a number that is not a number), one a column's guard refuses
    // (log_book::brokenGuard) and one with a date outside the years 1 to 9999.
    OldRowsReader(const JetFile &old, const QList<SchemaTable> &tables, qsizetype (*batchRows)(const SchemaTable &));
    // Stops the reading where it is and waits for its thread.
    ~OldRowsReader();
    OldRowsReader(const OldRowsReader &) = delete;
    OldRowsReader &operator=(const OldRowsReader &) = delete;

    // The next batch, waiting for it; raises the reading's failure when that comes next.
    RowBatch next();

private:
    struct Stopped {};
    void read(const JetFile &old, qsizetype (*batchRows)(const SchemaTable &));
    void hand(RowBatch &&batch);

    const QList<SchemaTable> tables_;
    std::mutex mutex_;
    std::condition_variable batchReady_;  // for the writing side
    std::condition_variable roomMade_;    // for the reading thread
    std::deque<RowBatch> ready_;
    std::exception_ptr failure_;  // after the batches in ready_
    bool stopping_ = false;
    bool readerWaits_ = false;
    bool writerWaits_ = false;
    std::thread thread_;
};

// "Table T, the row with KEY 12": how messages name a row of the old file.
QString rowName(const SchemaTable &table, const QList<Variant> &row);

}  // namespace vornak
