#include "data/ado_connection.h"

#include "data/custom_ado_data_set.h"
#include "platform/database.h"

namespace vornak {

TADOConnection::TADOConnection(TComponent *owner)
    : TComponent(owner)
{
}

TADOConnection::~TADOConnection()
{
    CloseDataSets();
    // The datasets forget this connection, so that none reaches a freed one.
    for (TCustomADODataSet *dataSet : std::as_const(dataSets_)) {
        dataSet->attachedTo_ = nullptr;
        if (dataSet->Connection == this)
            dataSet->Connection = nullptr;
    }
}

void TADOConnection::CloseDataSets()
{
    const QList<TCustomADODataSet *> dataSets = dataSets_;  // closing may detach
    for (TCustomADODataSet *dataSet : dataSets)
        dataSet->Close();
}

void TADOConnection::SetConnected(bool connected)
{
    if (IsLoading()) {
        connectedWhenLoaded_ = connected;
        return;
    }
    if (connected == Connected())
        return;
    if (connected) {
        engine_ = Connection::open(ConnectionString);
    } else {
        CloseDataSets();
        engine_.reset();
    }
}

Connection &TADOConnection::Engine()
{
    if (!engine_)
        engine_ = Connection::open(ConnectionString);
    return *engine_;
}

void TADOConnection::Loaded()
{
    TComponent::Loaded();
    if (connectedWhenLoaded_)
        SetConnected(true);
}

}  // namespace vornak
