#pragma once

#include "data/component.h"
#include "data/data_types.h"

#include <QString>
#include <memory>

namespace vornak {

class Connection;

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
    void SetConnected(bool connected);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    // The open engine connection; connects first when not connected. Raises DatabaseError.
    Connection &Engine();

protected:
    void Loaded() override;

private:
    std::unique_ptr<Connection> engine_;
    bool connectedWhenLoaded_ = false;
};

} // namespace vornak
