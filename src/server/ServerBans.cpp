// The ban list: adding with eviction and the smallest free id, removing, and the
// list that admins ask for.
#include <algorithm>

#include "protocol/ServerToClient.h"
#include "server/ChatServer.h"
#include "server/ServerText.h"

namespace vorlan::server {
namespace {

constexpr std::string_view kHostAddress{"127.0.0.1"};

bool IsBanIdInRange(int banId) { return banId >= 0 && banId < kMaxBans; }

}  // namespace

bool ChatServer::IsBanned(std::string_view address) const {
    return std::any_of(banList_.begin(), banList_.end(),
                       [address](const storage::BanEntry& entry) { return entry.address == address; });
}

int ChatServer::SmallestFreeBanId() const {
    std::vector<bool> used(static_cast<std::size_t>(kMaxBans), false);
    for (const auto& entry : banList_) {
        if (IsBanIdInRange(entry.banId)) used[static_cast<std::size_t>(entry.banId)] = true;
    }
    auto free = std::find(used.begin(), used.end(), false);
    return static_cast<int>(free - used.begin());
}

// A full list makes room by pushing out its oldest entry.
void ChatServer::AppendBan(std::string_view address, std::string_view description) {
    if (banList_.size() >= static_cast<std::size_t>(kMaxBans)) {
        Events().OnBanListChanged(ServerEvents::BanChange::Evicted, banList_.front(), actor_);
        banList_.erase(banList_.begin());
    }
    storage::BanEntry entry;
    entry.banId = SmallestFreeBanId();
    entry.address = std::string(CutTo(address, kMaxBanAddressLength));
    entry.description = std::string(CutTo(description, kMaxBanDescriptionLength));
    banList_.push_back(std::move(entry));
    BanListChanged();
    Events().OnBanListChanged(ServerEvents::BanChange::Added, banList_.back(), actor_);
}

bool ChatServer::AddBan(std::string_view address, std::string_view description) {
    if (address == kHostAddress || IsBanned(address)) return false;
    AppendBan(address, description);
    return true;
}

bool ChatServer::RemoveBan(int banId) {
    auto found = std::find_if(banList_.begin(), banList_.end(),
                              [banId](const storage::BanEntry& entry) { return entry.banId == banId; });
    if (found == banList_.end()) return false;
    Events().OnBanListChanged(ServerEvents::BanChange::Removed, *found, actor_);
    banList_.erase(found);
    BanListChanged();
    return true;
}

// A loaded list may come from a hand-edited file: out-of-range or repeated ids
// get the smallest free id, texts are cut, and only the newest 50000 are kept.
void ChatServer::SetBanList(std::vector<storage::BanEntry> banList) {
    if (banList.size() > static_cast<std::size_t>(kMaxBans)) {
        banList.erase(banList.begin(), banList.end() - kMaxBans);
    }
    banList_.clear();
    banList_.reserve(banList.size());
    std::vector<bool> used(static_cast<std::size_t>(kMaxBans), false);
    std::size_t nextFree = 0;
    for (auto& entry : banList) {
        if (!IsBanIdInRange(entry.banId) || used[static_cast<std::size_t>(entry.banId)]) {
            while (used[nextFree]) ++nextFree;
            entry.banId = static_cast<int>(nextFree);
        }
        used[static_cast<std::size_t>(entry.banId)] = true;
        entry.address.resize(std::min(entry.address.size(), kMaxBanAddressLength));
        entry.description.resize(std::min(entry.description.size(), kMaxBanDescriptionLength));
        banList_.push_back(std::move(entry));
    }
    BanListChanged();
}

void ChatServer::BanAndDrop(std::size_t slot, std::string_view notice) {
    if (slot == 0 || slot >= connections_.size()) return;
    EntryGuard guard(*this);
    BanAndDrop(*connections_[slot], notice);
}

// Unlike AddBan this takes any address, except that the host's own address is
// never banned: the host could then no longer reach its own server to undo it.
void ChatServer::BanAndDrop(ServerConnection& connection, std::string_view notice) {
    if (connection.peerAddress != kHostAddress && !IsBanned(connection.peerAddress)) {
        AppendBan(connection.peerAddress, connection.name);
    }
    Remove(connection, notice, ServerEvents::Removal::Banned);
}

// The list goes out a slice at a time (see kBanRowsPerSlice); asking again
// while it is on its way starts it again from the first row.
void ChatServer::HandleBanListRequest(ServerConnection& sender, std::string_view /*fields*/) {
    if (sender.IsNormalUser() || banList_.empty()) return;
    if (!sender.banListProgress) banListReaders_.push_back(sender.connectionId);
    sender.banListProgress = ServerConnection::BanListProgress{0, banListVersion_};
    ContinueBanLists();
}

// The next slice of rows. A list that changed since the reader's first row
// is sent again from the start: that first row empties the admin's list, so
// the admin never ends up with rows of two versions.
void ChatServer::ContinueBanList(ServerConnection& reader) {
    auto& progress = *reader.banListProgress;
    if (progress.listVersion != banListVersion_) progress = {0, banListVersion_};
    std::string block;
    const std::size_t end = std::min(banList_.size(), progress.nextRow + kBanRowsPerSlice);
    for (; progress.nextRow < end; ++progress.nextRow) {
        const storage::BanEntry& entry = banList_[progress.nextRow];
        protocol::AppendFrame(block, protocol::to_client::BanEntry(progress.nextRow == 0, entry.banId, entry.address,
                                                                   entry.description));
    }
    if (progress.nextRow >= banList_.size()) reader.banListProgress.reset();
    reader.Send(block);
}

// Runs at the end of a loop turn and whenever a connection's socket takes more:
// each reader whose last slice has mostly left gets its next one. Readers
// that lost their rights or their connection are forgotten.
void ChatServer::ContinueBanLists() {
    bool waiting = false;
    std::erase_if(banListReaders_, [&](int id) {
        ServerConnection* reader = FindConnection(id);
        if (reader == nullptr || !reader->banListProgress) return true;
        if (reader->IsNormalUser() || reader->SendBacklogExceeded()) {
            reader->banListProgress.reset();
            return true;
        }
        if (reader->UnsentBytes() < kBanListLowWater) ContinueBanList(*reader);
        if (!reader->banListProgress) return true;
        // A slice the socket took whole brings no writable notice: the next
        // turn goes on with it.
        waiting = waiting || reader->UnsentBytes() < kBanListLowWater;
        return false;
    });
    if (waiting) ScheduleDeferred();
}

void ChatServer::HandleBanListEdit(ServerConnection& sender, std::string_view fields) {
    if (fields.empty()) {
        DropForFault(sender);
        return;
    }
    char operation = fields.back();
    std::string_view body = fields.substr(0, fields.size() - 1);
    if (operation == '0') {
        if (!sender.IsNormalUser()) RemoveBan(protocol::ReadDecimal(body));
        return;
    }
    if (operation != '1') {
        DropForFault(sender);
        return;
    }
    if (sender.IsNormalUser()) return;
    std::size_t sep = body.find(protocol::kSep);
    if (sep == std::string_view::npos) {
        DropForFault(sender);
        return;
    }
    AddBan(CleanText(body.substr(0, sep), kLineBreaks, kMaxBanAddressLength),
           CleanText(body.substr(sep + 1), kSepAndLineBreaks, kMaxBanDescriptionLength));
}

}  // namespace vorlan::server
