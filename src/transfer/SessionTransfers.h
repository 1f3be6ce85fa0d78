#pragma once

#include <functional>
#include <memory>
#include <string>

#include "client/ClientSession.h"
#include "transfer/FileTransfers.h"

namespace vorlan::transfer {

// The program's file transfers: FileTransfers over the client session, which
// carries the control messages, knows the users and holds the options, and
// whose main chat view and log get the transfers' lines.
class SessionTransfers : public FileTransfers {
public:
    // `session` is asked for the session when it is needed (it may not exist
    // yet while this is built).
    SessionTransfers(std::function<client::ClientSession&()> session, TransferWindowFactory& windows,
                     TransferTuning tuning = {});
    ~SessionTransfers() override;

private:
    class Host;
    SessionTransfers(std::unique_ptr<Host> host, TransferWindowFactory& windows, TransferTuning tuning);
    std::unique_ptr<Host> host_;
};

}  // namespace vorlan::transfer
