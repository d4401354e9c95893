#pragma once

#include <functional>
#include <QString>
#include <QStringList>

namespace vornak {

// A list of text lines with a change handler that runs after every change of the list.
class TStringList {
public:
    std::function<void()> OnChange;

    int Count() const { return int(lines_.size()); }
    const QString &operator[](int index) const { return lines_.at(index); }
    const QStringList &Lines() const { return lines_; }

    void Clear();
    void Add(const QString &line);
    // Replaces line `index`; raises Error for an index outside the list.
    void Set(int index, const QString &line);
    // The lines, each followed by CR LF.
    QString Text() const;
    // Replaces the lines by those of `text` (split at CR LF, LF or CR).
    void SetText(const QString &text);
    // Writes the lines, each followed by CR LF, in the system's 8-bit code page, creating or
    // replacing the file. Raises Error when the file cannot be written; the file is then left
    // as it was.
    void SaveToFile(const QString &fileName) const;

private:
    void Changed();

    QStringList lines_;
};

}  // namespace vornak
