// The alias dictionary.
//
// Aliases are kept sorted so that a prepared page's item names are looked up by binary search.
// A unique alias is found by probing: start at 10000 and halve while Base + i is not in use; from
// the first i in use (or 1) count upward to the first free one. Aliases are only ever added, so
// the probe keeps a run of numbers compact without scanning every alias.
#include "report/pages/dictionary.h"

#include <algorithm>

namespace vornak {

namespace {

bool aliasLess(const QString &a, const QString &b)
{
    return QStringView(a).compare(b, Qt::CaseInsensitive) < 0;
}

}  // namespace

int TfrxDictionary::find(const QString &alias) const
{
    const auto it = std::lower_bound(aliases_.begin(), aliases_.end(), alias,
                                     [](const Alias &entry, const QString &key) { return aliasLess(entry.name, key); });
    if (it == aliases_.end() || it->name.compare(alias, Qt::CaseInsensitive) != 0)
        return -1;
    return int(it - aliases_.begin());
}

void TfrxDictionary::Add(const QString &alias, const QString &sourceName, TfrxComponent *object)
{
    sources_.push_back({sourceName, object});
    const auto it = std::lower_bound(aliases_.begin(), aliases_.end(), alias,
                                     [](const Alias &entry, const QString &key) { return aliasLess(entry.name, key); });
    aliases_.insert(it, Alias{alias, int(sources_.size() - 1)});
}

QString TfrxDictionary::CreateUniqueName(const QString &base) const
{
    int i = 10000;
    while (i > 1) {
        if (Contains(base + QString::number(i)))
            break;
        i /= 2;
    }
    while (Contains(base + QString::number(i)))
        ++i;
    return base + QString::number(i);
}

QString TfrxDictionary::GetSourceName(const QString &alias) const
{
    const int index = find(alias);
    return index < 0 ? QString() : sources_[size_t(aliases_[size_t(index)].source)].name;
}

TfrxComponent *TfrxDictionary::GetObject(const QString &alias) const
{
    const int index = find(alias);
    return index < 0 ? nullptr : sources_[size_t(aliases_[size_t(index)].source)].object;
}

void TfrxDictionary::Clear()
{
    aliases_.clear();
    sources_.clear();
}

QStringList TfrxDictionary::Names() const
{
    QStringList names;
    for (const Alias &alias : aliases_)
        names << alias.name;
    return names;
}

QStringList TfrxDictionary::SourceNames() const
{
    QStringList names;
    for (const Source &source : sources_)
        names << source.name;
    return names;
}

}  // namespace vornak
