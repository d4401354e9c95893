#pragma once

#include <QByteArray>
#include <QString>

namespace vornak {

// Text in the system's 8-bit code page: Windows-1251, the code page of Russian settings.
// Characters the code page lacks become '?'.
QByteArray encodeAnsi(const QString &text);
QString decodeAnsi(const QByteArray &bytes);

// Writes `text` in the 8-bit code page, without a byte-order mark, creating or replacing the
// file. The new content replaces the old one whole or not at all; a failure raises Error with
// the file name and the reason.
void writeAnsiTextFile(const QString &fileName, const QString &text);

}  // namespace vornak
