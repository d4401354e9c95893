#include "platform/text_file.h"

#include "platform/errors.h"

#include <QHash>
#include <QSaveFile>

namespace vornak {

namespace {

// Code points of the bytes 0x80 to 0xFF; 0 where the code page defines no character.
constexpr char16_t upperHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

const QHash<char16_t, char> &encodingTable()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int i = 0; i < 128; ++i) {
            if (upperHalf[i] != 0)
                t.insert(upperHalf[i], char(0x80 + i));
        }
        return t;
    }();
    return table;
}

}  // namespace

QByteArray encodeAnsi(const QString &text)
{
    const QHash<char16_t, char> &table = encodingTable();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x80)
            bytes.append(char(code));
        else
            bytes.append(table.value(code, '?'));
    }
    return bytes;
}

QString decodeAnsi(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const unsigned char b = static_cast<unsigned char>(byte);
        const char16_t code = b < 0x80 ? char16_t(b) : upperHalf[b - 0x80];
        text.append(QChar(code == 0 ? u'?' : code));
    }
    return text;
}

void writeAnsiTextFile(const QString &fileName, const QString &text)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    const QByteArray bytes = encodeAnsi(text);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()));
}

}  // namespace vornak
