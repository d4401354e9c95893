// The grid's text search (LocateText), used by the find dialog.
#include "grid/db_grid_eh.h"

#include "data/data_set.h"
#include "data/field.h"

#include <QApplication>
#include <QLocale>
#include <QScopeGuard>

namespace vornak {

namespace {

bool textMatches(const QString &cell, const QString &text, TLocateTextMatchTypeEh matchType)
{
    switch (matchType) {
    case ltmAnyPartEh:
        return !text.isEmpty() && cell.contains(text);
    case ltmWholeEh:
        return cell == text;
    case ltmFromBegingEh:
        return cell.startsWith(text);
    }
    return false;
}

// Shows the wait cursor while the search runs.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace

bool TDBGridEh::LocateText(const QString &fieldName, const QString &text, TLocateTextMatchTypeEh matchType,
                           TLocateTextDirectionEh direction, TLocateTextOptionsEh options)
{
    TDataSet *dataSet = activeDataSet();
    if (!dataSet)
        return false;
    const std::vector<TColumnEh *> columns = Columns.Visible();
    const int count = int(columns.size());
    int column = selectedIndex_;
    if (!fieldName.isEmpty()) {
        column = -1;
        for (int i = 0; i < count && column < 0; ++i) {
            if (columns[i]->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
                column = i;
        }
    }
    if (count == 0 || column < 0 || column >= count)
        return false;

    const bool caseInsensitive = options.contains(ltoCaseInsensitiveEh);
    const bool allFields = options.contains(ltoAllFieldsEh);
    const bool matchFormat = options.contains(ltoMatchFormatEh);
    const QLocale locale;
    const QString wanted = caseInsensitive ? locale.toUpper(text) : text;
    const bool forward = direction != ltdUpEh;

    const WaitCursor wait;
    dataSet->DisableControls();
    const auto enableControls = qScopeGuard([dataSet] { dataSet->EnableControls(); });
    bool found = false;
    const int startRecNo = dataSet->RecNo();
    const int startRow = currentRow();

    // One step through the cells; false when the dataset has no further record that way.
    auto step = [&]() {
        if (allFields) {
            column += forward ? 1 : -1;
            if (column >= 0 && column < count)
                return true;
            column = forward ? 0 : count - 1;
        }
        return dataSet->MoveBy(forward ? 1 : -1) != 0;
    };

    bool more;
    if (direction == ltdAllEh) {
        dataSet->First();
        more = !dataSet->IsEmpty();
    } else {
        more = !dataSet->IsEmpty() && step();
    }
    while (more) {
        const TField *field = columns[column]->Field();
        QString cell;
        if (field)
            cell = matchFormat ? field->DisplayText() : field->AsString();
        if (caseInsensitive)
            cell = locale.toUpper(cell);
        if (textMatches(cell, wanted, matchType)) {
            found = true;
            if (caseInsensitive)
                selectedIndex_ = column;
            break;
        }
        more = step();
    }

    if (!found && startRecNo > 0 && dataSet->RecNo() != startRecNo) {
        // Back to the record we started from, shown in the same data row as before.
        const int topRecNo = startRecNo - startRow;
        dataSet->First();
        dataSet->MoveBy(topRecNo - 1 + visibleRows_ - 1);
        dataSet->MoveBy(startRecNo - dataSet->RecNo());
    }
    return found;
}

}  // namespace vornak
