#pragma once

#include "data/data_set.h"

namespace vornak {

class Connection;
class TADOConnection;

// A dataset whose rows come from the engine through a cursor opened on a command.
class TCustomADODataSet : public TDataSet {
public:
    using TDataSet::TDataSet;
    ~TCustomADODataSet() override;

    TADOConnection *Connection = nullptr;
    TCursorType CursorType = ctKeyset;
    TCursorLocation CursorLocation = clUseClient;
    TLockType LockType = ltOptimistic;
    int CacheSize = 1;

protected:
    // The connection's engine, connecting first when needed. Raises DatabaseError.
    vornak::Connection &Engine() const;

private:
    friend class TADOConnection;
    mutable TADOConnection *attachedTo_ = nullptr;  // the connection that closes this dataset first
};

}  // namespace vornak
