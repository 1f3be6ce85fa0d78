// Rows of the server's connection and ban lists for the admin windows.
#include "client/ServerMessages.h"

#include "client/ClientSession.h"
#include "client/ServerMessageReader.h"

namespace vorlan::client {

using storage::ColourIndex;

void ServerMessages::OnConnectionEntry(std::string_view body, std::string_view) {
    if (!session_.views_.remoteConnections.IsOpen() || body.empty()) return;
    std::string_view rest = body.substr(1);
    auto idText = reader::TakeField(rest);
    if (!idText) return;
    const int id = protocol::ReadDecimal(*idText);
    if (id <= 0) return;
    if (body[0] == '1') session_.views_.remoteConnections.ClearRows();
    RemoteConnectionRow row;
    row.id = id;
    if (const UserRow* user = session_.users_.Find(id)) {
        row.group = user->group;
        row.label = user->name + " - " + std::string(rest);
        row.colour = user->colour;
        row.locallyMuted = user->locallyMuted;
        row.serverMuted = user->serverMuted;
    } else {
        row.group = kTopLevel;
        row.label = std::to_string(id) + " - " + std::string(rest);
        row.colour = session_.Colour(ColourIndex::TreeText);
    }
    session_.views_.remoteConnections.AddRow(row);
}

void ServerMessages::OnBanEntry(std::string_view body, std::string_view) {
    if (!session_.views_.remoteBanList.IsOpen() || body.empty()) return;
    std::string_view rest = body.substr(1);
    auto number = reader::TakeField(rest);
    if (!number) return;
    if (body[0] == '1') session_.views_.remoteBanList.ClearRows();
    std::string label(rest);
    std::string_view afterAddress = rest;
    if (auto address = reader::TakeField(afterAddress))
        label = std::string(*address) + " - " + std::string(afterAddress);
    session_.views_.remoteBanList.AddRow(protocol::ReadDecimal(*number), label);
}

}  // namespace vorlan::client
