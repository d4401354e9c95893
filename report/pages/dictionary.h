#pragma once

// The aliases of prepared objects. Every object copied into a source page gets a short unique
// alias ("m1", "b3"); a prepared page names its object items by alias, and the dictionary leads
// from an alias to the object's source name ("Page0.Memo3") and to the source copy itself.

#include <QString>
#include <QStringList>
#include <vector>

namespace vornak {

class TfrxComponent;

class TfrxDictionary {
public:
    // Adds `alias` for the source object `object` named `sourceName`.
    void Add(const QString &alias, const QString &sourceName, TfrxComponent *object);
    // A new alias: `base` followed by a number no alias uses yet ("m1" for the first memo).
    QString CreateUniqueName(const QString &base) const;
    // The source name and the source object of an alias; empty / nullptr for an unknown name.
    QString GetSourceName(const QString &alias) const;
    TfrxComponent *GetObject(const QString &alias) const;
    bool Contains(const QString &alias) const { return find(alias) >= 0; }
    void Clear();

    // The aliases in sorted order, and the source names in order of addition.
    QStringList Names() const;
    QStringList SourceNames() const;

private:
    struct Source {
        QString name;
        TfrxComponent *object;
    };
    struct Alias {
        QString name;
        int source;  // index into sources_
    };
    // Index in aliases_ of `alias`, or -1 (binary search).
    int find(const QString &alias) const;

    std::vector<Alias> aliases_;  // sorted by name
    std::vector<Source> sources_;
};

}  // namespace vornak
