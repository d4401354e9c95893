#include "data/data_source.h"

#include "data/data_link.h"
#include "data/data_set.h"

namespace vornak {

TDataSource::TDataSource(TComponent *owner)
    : TComponent(owner)
{
}

TDataSource::~TDataSource()
{
    for (TDataLink *link : std::as_const(links_))
        link->DataSourceDestroyed();
    links_.clear();
    if (dataSet_)
        dataSet_->RemoveDataSource(this);
}

void TDataSource::SetDataSet(TDataSet *dataSet)
{
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        dataSet_->RemoveDataSource(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->AddDataSource(this);
    UpdateState();
}

void TDataSource::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateState();
}

void TDataSource::DataSetDestroyed()
{
    dataSet_ = nullptr;
    state_ = dsInactive;
}

void TDataSource::Edit()
{
    if (AutoEdit && dataSet_ && state_ == dsBrowse)
        dataSet_->Edit();
}

QList<TDataLink *> TDataSource::LinksInNotificationOrder() const
{
    QList<TDataLink *> ordered;
    ordered.reserve(links_.size());
    for (const bool visual : {false, true}) {
        for (auto it = links_.crbegin(); it != links_.crend(); ++it) {
            if ((*it)->IsVisualControl() == visual)
                ordered.append(*it);
        }
    }
    return ordered;
}

void TDataSource::AddLink(TDataLink *link)
{
    links_.append(link);
    if (dataSet_)
        dataSet_->UpdateBufferCount();
}

void TDataSource::RemoveLink(TDataLink *link)
{
    links_.removeOne(link);
    if (dataSet_)
        dataSet_->UpdateBufferCount();
}

void TDataSource::UpdateState()
{
    const TDataSetState state = enabled_ && dataSet_ ? dataSet_->State() : dsInactive;
    if (state == state_)
        return;
    const TDataSetState previous = state_;
    state_ = state;
    for (TDataLink *link : LinksInNotificationOrder())
        link->UpdateState();
    if (OnStateChange)
        OnStateChange(this);
    if (previous == dsInactive && OnDataChange)
        OnDataChange(this, nullptr);
}

void TDataSource::DataEvent(TDataEvent event, TField *field, int advance)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == dsInactive)
        return;
    for (TDataLink *link : LinksInNotificationOrder())
        link->DataEvent(event, field, advance);
    switch (event) {
    case deFieldChange:
        if (OnDataChange)
            OnDataChange(this, field);
        break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

}  // namespace vornak
