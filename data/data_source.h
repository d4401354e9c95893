#pragma once

#include "data/component.h"
#include "data/data_types.h"

#include <functional>
#include <QList>

namespace vornak {

class TDataLink;
class TDataSet;
class TField;

// Connects one dataset to any number of data links and passes the dataset's notifications on:
// first to the links (those that are not visual controls before visual controls, within each
// group the most recently attached first), then to its own handlers.
class TDataSource : public TComponent {
public:
    using TDataChangeEvent = std::function<void(TDataSource *sender, TField *field)>;
    using TNotifyEvent = std::function<void(TDataSource *sender)>;

    explicit TDataSource(TComponent *owner = nullptr);
    ~TDataSource() override;

    TDataSet *DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet *dataSet);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The dataset's state as this source last took it (inactive while disabled or unbound).
    TDataSetState State() const { return state_; }
    const QList<TDataLink *> &Links() const { return links_; }

    // A bound control may put the dataset into edit state.
    bool AutoEdit = true;
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnStateChange;
    TNotifyEvent OnUpdateData;

    // Puts the dataset into edit state when AutoEdit is set and the state is dsBrowse.
    void Edit();

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent event, TField *field, int advance);
    void UpdateState();
    QList<TDataLink *> LinksInNotificationOrder() const;
    void AddLink(TDataLink *link);
    void RemoveLink(TDataLink *link);
    void DataSetDestroyed();

    TDataSet *dataSet_ = nullptr;
    bool enabled_ = true;
    TDataSetState state_ = dsInactive;
    QList<TDataLink *> links_;  // in the order they were attached
};

}  // namespace vornak
