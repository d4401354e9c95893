#pragma once

#include "data/component.h"
#include "data/data_types.h"

#include <memory>
#include <QList>
#include <QString>

namespace vornak {

class Connection;
class TCustomADODataSet;

// The one connection to the database file. Datasets name it in their Connection property.
class TADOConnection : public TComponent {
public:
    explicit TADOConnection(TComponent *owner = nullptr);
    ~TADOConnection() override;

    QString ConnectionString;
    QString Provider;
    bool LoginPrompt = true;
    TConnectMode Mode = cmUnknown;
    TCursorLocation CursorLocation = clUseClient;

    bool Connected() const { return engine_ != nullptr; }
    // While the owner is loading, only remembers the wish; connects when loading completes.
    // Disconnecting closes first every dataset that used this connection.
    void SetConnected(bool connected);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    // The open engine connection; connects first when not connected. Raises DatabaseError.
    Connection &Engine();

protected:
    void Loaded() override;

private:
    friend class TCustomADODataSet;  // attaches and detaches itself
    void CloseDataSets();

    std::unique_ptr<Connection> engine_;
    QList<TCustomADODataSet *> dataSets_;  // datasets that reached the engine through this connection
    bool connectedWhenLoaded_ = false;
};

}  // namespace vornak
