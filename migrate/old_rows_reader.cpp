// The reading thread of the import: it fills a short queue of batches (a few statements' worth, so
// that memory stays small) and, once the queue is full, waits until the writing side has taken
// half of it; each side wakes the other only when that one waits, so that handing over a batch
// rarely costs a switch of threads.
#include "migrate/old_rows_reader.h"

#include <cmath>

namespace vornak {

namespace {

// Batches waiting at most: enough to keep the writing side busy, few enough to hold little memory.
constexpr std::size_t queueLength = 16;

// A value the new file would take as another one without a word: a missing key (it would get a
// new one) or a number that is not a number (stored as NULL); or one its column's guard refuses,
// which is looked at here, on the reading side, so that the writing side, which has the more to
// do, need not (see copyInto). Empty when the value is fine. A date outside the years 1 to 9999
// is refused by the reading too, as `check` words it; a key twice is refused by the new file.
QString refusal(const SchemaColumn &column, const Variant &value)
{
    if (column.kind == ColumnKind::AutoIncrement && value.isNull())
        return QStringLiteral("has no key");
    const bool number = column.kind == ColumnKind::Float || column.kind == ColumnKind::DateTime;
    if (number && !value.isNull() && std::isnan(value.toDouble()))
        return QStringLiteral("has no number in %1").arg(column.name);
    if (const QString holds = log_book::brokenGuard(column, value); !holds.isEmpty())
        return QStringLiteral("has a value in %1, which holds %2 only").arg(column.name, holds);
    return {};
}

RowBatch emptyBatch(qsizetype table, qsizetype values)
{
    RowBatch batch;
    batch.table = table;
    batch.values.reserve(values);
    return batch;
}

}  // namespace

QString rowName(const SchemaTable &table, const QList<Variant> &row)
{
    return QStringLiteral("Table %1, the row with %2 %3").arg(table.name, table.columns[0].name, row[0].toString());
}

OldRowsReader::OldRowsReader(const JetFile &old, const QList<SchemaTable> &tables,
                             qsizetype (*batchRows)(const SchemaTable &))
    : tables_(tables),
      thread_([this, &old, batchRows] { read(old, batchRows); })
{
}

OldRowsReader::~OldRowsReader()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    roomMade_.notify_one();
    thread_.join();
}

void OldRowsReader::hand(RowBatch &&batch)
{
    std::unique_lock lock(mutex_);
    if (ready_.size() >= queueLength) {
        readerWaits_ = true;
        roomMade_.wait(lock, [this] { return stopping_ || ready_.size() <= queueLength / 2; });
        readerWaits_ = false;
    }
    if (stopping_)
        throw Stopped();
    ready_.push_back(std::move(batch));
    const bool wake = writerWaits_;
    lock.unlock();
    if (wake)
        batchReady_.notify_one();
}

void OldRowsReader::read(const JetFile &old, qsizetype (*batchRows)(const SchemaTable &))
{
    try {
        for (qsizetype t = 0; t < tables_.size(); ++t) {
            const SchemaTable &table = tables_[t];
            const qsizetype width = table.columns.size();
            const qsizetype fullBatch = batchRows(table) * width;
            QStringList names;
            for (const SchemaColumn &c : table.columns)
                names.append(c.name);
            RowBatch batch = emptyBatch(t, fullBatch);
            qsizetype rows = 0;
            qint64 highestKey = 0;
            old.readRows(table.name, names, [&](const QList<Variant> &values) {
                for (qsizetype i = 0; i < width; ++i) {
                    const SchemaColumn &column = table.columns[i];
                    if (const QString problem = refusal(column, values[i]); !problem.isEmpty())
                        throw ImportError(rowName(table, values) + u' ' + problem + u'.');
                    if (column.kind == ColumnKind::DateTime && !values[i].isNull())
                        if (const QString problem = log_book::notADate(table, column, values[0], values[i].toDouble());
                            !problem.isEmpty())
                            throw ImportError(problem);
                }
                batch.values.append(values);
                if (batch.values.size() == fullBatch) {
                    hand(std::move(batch));
                    batch = emptyBatch(t, fullBatch);
                }
                const qint64 key = values[0].toInt64();
                highestKey = rows == 0 ? key : std::max(highestKey, key);
                ++rows;
            });
            batch.last = true;
            batch.rows = rows;
            batch.highestKey = highestKey;
            batch.counter = old.lastAutoNumber(table.name);
            hand(std::move(batch));
        }
        // Nothing follows: asking for more is a mistake of the writing side, never a wait for ever.
        throw ImportError(QStringLiteral("All rows of the old file have been read."));
    } catch (const Stopped &) {
        return;
    } catch (...) {
        // The rows read since the last whole batch are dropped, as they would never have been
        // written: the failure comes first.
        {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
        }
        batchReady_.notify_one();
    }
}

RowBatch OldRowsReader::next()
{
    std::unique_lock lock(mutex_);
    if (ready_.empty() && !failure_) {
        writerWaits_ = true;
        batchReady_.wait(lock, [this] { return !ready_.empty() || failure_; });
        writerWaits_ = false;
    }
    if (ready_.empty())
        std::rethrow_exception(failure_);
    RowBatch batch = std::move(ready_.front());
    ready_.pop_front();
    const bool wake = readerWaits_ && ready_.size() <= queueLength / 2;
    lock.unlock();
    if (wake)
        roomMade_.notify_one();
    return batch;
}

}  // namespace vornak
