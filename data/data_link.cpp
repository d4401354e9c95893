// A data link's rows over the dataset's record window. The link remembers only which buffer its
// first row shows (firstRecord_). When the dataset's window advances, every kept record sits
// `advance` buffers lower, so the link's rows move down with them; MoveWindow then slides them
// as little as keeps the active record among them and reports that slide to the control.
#include "data/data_link.h"

#include "data/data_set.h"
#include "data/data_source.h"

#include <algorithm>
#include <QScopedValueRollback>

namespace vornak {

TDataLink::~TDataLink()
{
    if (dataSource_)
        dataSource_->RemoveLink(this);
}

TDataSet *TDataLink::DataSet() const
{
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetDataSource(TDataSource *dataSource)
{
    if (dataSource == dataSource_)
        return;
    if (dataSource_)
        dataSource_->RemoveLink(this);
    dataSource_ = dataSource;
    if (dataSource_)
        dataSource_->AddLink(this);
    UpdateState();
}

void TDataLink::DataSourceDestroyed()
{
    dataSource_ = nullptr;
    active_ = editing_ = false;
}

void TDataLink::SetReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    UpdateState();
}

void TDataLink::UpdateState()
{
    const TDataSetState state = dataSource_ ? dataSource_->State() : dsInactive;
    const bool active = state != dsInactive;
    const bool editing = isEditState(state) && !readOnly_;
    const bool activeChanged = active != active_;
    const bool editingChanged = editing != editing_;
    active_ = active;
    editing_ = editing;
    if (activeChanged) {
        firstRecord_ = 0;
        if (active_)
            UpdateRange();
        ActiveChanged();
    }
    if (editingChanged)
        EditingChanged();
}

void TDataLink::SetBufferCount(int count)
{
    count = std::max(1, count);
    if (count == bufferCount_)
        return;
    bufferCount_ = count;
    if (TDataSet *dataSet = DataSet())
        dataSet->UpdateBufferCount();
    if (active_)
        UpdateRange();
}

int TDataLink::RecordCount() const
{
    const TDataSet *dataSet = DataSet();
    if (!active_ || !dataSet)
        return 0;
    return std::clamp(dataSet->WindowRecordCount() - firstRecord_, 0, bufferCount_);
}

int TDataLink::ActiveRecord() const
{
    const TDataSet *dataSet = DataSet();
    return active_ && dataSet ? dataSet->ActiveRecord() - firstRecord_ : 0;
}

void TDataLink::SetActiveRecord(int row)
{
    if (TDataSet *dataSet = DataSet(); active_ && dataSet)
        dataSet->SetActiveRecord(firstRecord_ + row);
}

bool TDataLink::Edit()
{
    if (!readOnly_ && dataSource_)
        dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord()
{
    const QScopedValueRollback writing(writing_, true);
    UpdateData();
}

// The records the link keeps sit `advance` buffers lower after the dataset's window advanced;
// the rows then slide only as far as the active record needs. Returns how far they slid.
int TDataLink::MoveWindow(int advance)
{
    const TDataSet *dataSet = DataSet();
    if (!dataSet)
        return 0;
    const int first = firstRecord_ - advance;
    const int last = first + bufferCount_ - 1;
    const int active = dataSet->ActiveRecord();
    int moved = 0;
    if (active > last)
        moved = active - last;
    else if (active < first)
        moved = active - first;
    firstRecord_ = std::max(0, first + moved);
    return moved;
}

void TDataLink::UpdateRange()
{
    MoveWindow(0);
}

void TDataLink::WindowAdvanced(int advance)
{
    if (active_)
        MoveWindow(advance);
}

void TDataLink::DataEvent(TDataEvent event, TField *field, int advance)
{
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!writing_)
            RecordChanged(event == deFieldChange ? field : nullptr);
        break;
    case deDataSetChange:
        MoveWindow(0);
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(MoveWindow(advance));
        break;
    case deLayoutChange:
        MoveWindow(0);
        LayoutChanged();
        break;
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        FocusControl(field);
        break;
    default:
        break;
    }
}

}  // namespace vornak
