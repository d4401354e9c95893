// Linking the bands of a report page.
//
// The page's horizontal bands of the kinds header .. group footer (band numbers 4 to 13) are
// sorted by their Top, compared as text written with two decimals in nine characters; of two
// bands with the same key only the first takes part. In that order a header right before a data
// band becomes its FHeader and a footer right after it its FFooter; a master data band with data
// starts a data run of the page, and each following data band one level deeper nests under it
// until a band of its level or higher. Whatever is left over is reported by name.
//
// Features the engine does not lay out (groups, keeping bands together, columns, vertical bands,
// split bands, overlays, endless or continued pages) are refused here, naming the band, so that
// they are never silently laid out wrong.

#include "report/engine/band_links.h"

#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/report_page.h"
#include "report/model/user_data_set.h"
#include "report/script/report_text.h"

#include <QSet>

#include <algorithm>

namespace vornak {

namespace {

enum BandNumber {
    bnHeader = 4,
    bnFooter = 5,
    bnMasterData = 6,
    bnLastData = 11,
    bnGroupHeader = 12,
    bnGroupFooter = 13,
};

bool isDataNumber(int number)
{
    return number >= bnMasterData && number <= bnLastData;
}

TfrxDataSet *dataOf(TfrxBand *band)
{
    auto *data = static_cast<TfrxDataBand *>(band);
    return data->DataSet() ? data->DataSet() : data->VirtualDataSet.get();
}

void clearLinks(TfrxBand &band)
{
    band.FSubBands.clear();
    band.FHeader = nullptr;
    band.FFooter = nullptr;
    band.FGroup = nullptr;
    band.FHasVBands = false;
    if (auto *data = dynamic_cast<TfrxDataBand *>(&band)) {
        data->VirtualDataSet.reset();
        if (!data->DataSet() && data->RowCount() > 0) {
            auto counter = std::make_unique<TfrxUserDataSet>();
            counter->SetRangeEnd(reCount);
            counter->SetRangeEndCount(data->RowCount());
            data->VirtualDataSet = std::move(counter);
        }
    }
}

// The texts of the features the engine refuses for `band`.
QStringList refusals(const TfrxBand &band)
{
    QStringList found;
    const auto refuse = [&](const char *key) { found << reportText(key).arg(band.Name()); };
    const QString cls = band.ClassName();
    if (cls == u"TfrxGroupHeader" || cls == u"TfrxGroupFooter")
        refuse("unsupportedGroups");
    if (cls == u"TfrxOverlay")
        refuse("unsupportedOverlay");
    if (band.Vertical())
        refuse("unsupportedVertical");
    if (band.AllowSplit())
        refuse("unsupportedSplit");
    bool keeps = band.KeepChild();
    if (auto *data = dynamic_cast<const TfrxDataBand *>(&band)) {
        keeps = keeps || data->KeepTogether() || data->KeepHeader() || data->KeepFooter();
        if (data->Columns() > 1)
            refuse("unsupportedColumns");
    }
    if (keeps)
        refuse("unsupportedKeeping");
    return found;
}

QStringList pageRefusals(const TfrxReportPage &page)
{
    QStringList found;
    const auto refuse = [&](const char *property) {
        found << reportText("unsupportedPageOption").arg(page.Name(), QLatin1String(property));
    };
    if (page.Columns() > 1)
        found << reportText("unsupportedColumns").arg(page.Name());
    if (page.EndlessHeight())
        refuse("EndlessHeight");
    if (page.EndlessWidth())
        refuse("EndlessWidth");
    if (page.PrintOnPreviousPage())
        refuse("PrintOnPreviousPage");
    return found;
}

}  // namespace

QString BandSortKey(double top)
{
    return QStringLiteral("%1").arg(top, 9, 'f', 2);
}

QStringList LinkBands(TfrxReportPage &page)
{
    QStringList errors = pageRefusals(page);
    page.FSubBands.clear();
    page.FVSubBands.clear();

    // Steps 2 and 3: clear the links, then sort the bands that take part by their key.
    struct Entry {
        QString key;
        TfrxBand *band;
        int number;
    };
    QList<Entry> sorted;
    QSet<QString> keys;
    for (TfrxComponent *child : page.Objects()) {
        auto *band = dynamic_cast<TfrxBand *>(child);
        if (!band)
            continue;
        clearLinks(*band);
        errors << refusals(*band);
        const int number = band->BandNumber();
        if (band->Vertical() || number < bnHeader || number > bnGroupFooter)
            continue;
        const QString key = BandSortKey(band->Top());
        if (keys.contains(key))
            continue;  // the first band with this key takes part, the other does not
        keys.insert(key);
        sorted << Entry{key, band, number};
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry &a, const Entry &b) { return a.key < b.key; });

    QSet<TfrxBand *> placed;
    const int count = int(sorted.size());

    // Step 4: group headers go with the next data band, group footers with the group header
    // before them (groups are refused above; linking them still names a misplaced one).
    for (int i = 0; i < count; ++i) {
        if (sorted[i].number == bnGroupHeader) {
            int j = i;
            while (j < count && !isDataNumber(sorted[j].number))
                ++j;
            if (j == count) {
                errors << reportText("noGroupDataBand").arg(sorted[i].band->Name());
                continue;
            }
            sorted[i].band->FGroup = sorted[j].band;
            placed.insert(sorted[i].band);
        } else if (sorted[i].number == bnGroupFooter) {
            int j = i;
            while (j >= 0 && sorted[j].number != bnGroupHeader)
                --j;
            if (j < 0) {
                errors << reportText("noGroupHeader").arg(sorted[i].band->Name());
                continue;
            }
            sorted[j].band->FFooter = sorted[i].band;
            placed.insert(sorted[i].band);
        }
    }

    // Step 5: headers and footers next to their data band.
    for (int i = 0; i < count; ++i) {
        if (!isDataNumber(sorted[i].number))
            continue;
        if (i > 0 && sorted[i - 1].number == bnHeader) {
            sorted[i].band->FHeader = sorted[i - 1].band;
            placed.insert(sorted[i - 1].band);
        }
        if (i + 1 < count && sorted[i + 1].number == bnFooter) {
            sorted[i].band->FFooter = sorted[i + 1].band;
            placed.insert(sorted[i + 1].band);
        }
    }
    for (const Entry &entry : sorted)
        if ((entry.number == bnHeader || entry.number == bnFooter) && !placed.contains(entry.band)) {
            errors << reportText("unlinkedHeaderFooter").arg(entry.band->Name());
            placed.insert(entry.band);
        }

    // Step 6: nesting. A master data band with data starts a run of the page; each data band one
    // level deeper, up to the next band of the parent's level or higher, nests under it.
    const auto nest = [&](auto &self, int parent) -> void {
        const int level = sorted[parent].number;
        for (int j = parent + 1; j < count; ++j) {
            const int number = sorted[j].number;
            if (!isDataNumber(number))
                continue;
            if (number <= level)
                break;
            if (number == level + 1 && dataOf(sorted[j].band)) {
                sorted[parent].band->FSubBands << sorted[j].band;
                placed.insert(sorted[j].band);
                self(self, j);
            }
        }
    };
    for (int i = 0; i < count; ++i)
        if (sorted[i].number == bnMasterData && dataOf(sorted[i].band)) {
            page.FSubBands << sorted[i].band;
            placed.insert(sorted[i].band);
            nest(nest, i);
        }

    // Step 7: what is left has no place in the run.
    for (const Entry &entry : sorted)
        if (!placed.contains(entry.band))
            errors << reportText("misplacedBand").arg(entry.band->Name());
    return errors;
}

}  // namespace vornak
