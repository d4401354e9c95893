#pragma once

#include "platform/sqlcipher_connection.h"
#include "tools/log_book_schema.h"

#include <QHash>
#include <QProcess>
#include <QStringList>

namespace vornak::testing {

// The second program (log_book_writer) started in the folder of a log book.
inline void startWriter(QProcess &process, const QString &folder, const QStringList &args)
{
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(LOG_BOOK_WRITER_PATH), args);
}

// What the writer printed after `word` on lines that begin with it ("written", "error").
inline QStringList reported(const QByteArray &output, const QString &word)
{
    QStringList found;
    const QString prefix = word + u' ';
    for (const QString &line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(prefix))
            found.append(line.mid(prefix.size()));
    }
    return found;
}

// The state of a log book after another program stopped: the engine's integrity check and how
// often each expense description is stored.
struct StoredExpenses {
    QString integrity;
    QHash<QString, int> descriptions;
};

inline StoredExpenses readStoredExpenses(const QString &path)
{
    auto connection = SqlCipherConnection::open(path, log_book::password);
    StoredExpenses stored;
    const ResultData integrity = connection->read(QStringLiteral("PRAGMA integrity_check"), {});
    QStringList lines;
    for (const Variant &line : integrity.values)
        lines.append(line.toString());
    stored.integrity = lines.join(u'\n');
    const ResultData rows = connection->read(QStringLiteral("SELECT OPISANIE FROM DOC_EXPENSE"), {});
    for (const Variant &description : rows.values)
        ++stored.descriptions[description.toString()];
    return stored;
}

}  // namespace vornak::testing
