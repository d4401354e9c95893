#include "data/string_list.h"

#include "platform/errors.h"
#include "platform/text_file.h"

#include <QRegularExpression>

namespace vornak {

void TStringList::Changed()
{
    if (OnChange)
        OnChange();
}

void TStringList::Clear()
{
    lines_.clear();
    Changed();
}

void TStringList::Add(const QString &line)
{
    lines_.append(line);
    Changed();
}

void TStringList::Set(int index, const QString &line)
{
    if (index < 0 || index >= lines_.size())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
    lines_[index] = line;
    Changed();
}

QString TStringList::Text() const
{
    QString text;
    for (const QString &line : lines_) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

void TStringList::SetText(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    lines_ = text.split(lineBreak);
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    Changed();
}

void TStringList::SaveToFile(const QString &fileName) const
{
    writeAnsiTextFile(fileName, Text());
}

}  // namespace vornak
