#include "data/ado_connection.h"

#include "platform/database.h"

namespace vornak {

TADOConnection::TADOConnection(TComponent *owner)
    : TComponent(owner)
{
}

TADOConnection::~TADOConnection() = default;

void TADOConnection::SetConnected(bool connected)
{
    if (IsLoading()) {
        connectedWhenLoaded_ = connected;
        return;
    }
    if (connected == Connected())
        return;
    if (connected)
        engine_ = Connection::open(ConnectionString);
    else
        engine_.reset();
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

} // namespace vornak
