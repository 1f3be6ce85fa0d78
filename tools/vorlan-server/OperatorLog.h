#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "server/ServerEvents.h"

namespace vorlan::tools {

// One log line per connection accepted or refused, log-in, leave or loss,
// kick, ban, drop and ban-list change, with the addresses, ids, names and
// levels an operator needs to follow who came and went.
class OperatorLog : public server::ServerEvents {
public:
    explicit OperatorLog(std::FILE* out) : out_(out) {}

    void OnConnectionRefused(std::string_view address, Refusal reason) override;
    void OnConnectionAccepted(const server::ServerConnection& connection) override;
    void OnUserLoggedIn(const server::ServerConnection& user) override;
    void OnConnectionRemoved(const server::ServerConnection& connection, Removal reason,
                             const server::ServerConnection* by) override;
    void OnBanListChanged(BanChange change, const storage::BanEntry& entry,
                          const server::ServerConnection* by) override;

private:
    void Write(const std::string& text);

    std::FILE* out_;
};

// Text from the network as a log shows it: control bytes, bytes above 127 and
// the backslash as "\xNN", so that no user can forge a line, move the cursor of
// the operator's terminal, or turn a journal entry into binary data.
std::string Printable(std::string_view text);

}  // namespace vorlan::tools
