#include "client/RecentServerList.h"

#include <algorithm>

namespace vorlan::client {

RecentServerList::RecentServerList(RecentServersView& view, std::uint32_t normalColour)
    : view_(view), normalColour_(normalColour) {}

std::string RecentServerList::Label(const Entry& entry) {
    std::string label = entry.timeText + " - " + entry.address;
    if (!entry.note.empty()) label += " - " + entry.note;
    return label;
}

RecentServerList::Entry* RecentServerList::Find(const std::string& address) {
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.address == address; });
    return found == entries_.end() ? nullptr : &*found;
}

const RecentServerList::Entry* RecentServerList::FindByAddress(const std::string& address) const {
    return const_cast<RecentServerList*>(this)->Find(address);
}

const RecentServerList::Entry* RecentServerList::FindById(int id) const {
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    return found == entries_.end() ? nullptr : &*found;
}

int RecentServerList::SmallestFreeId() const {
    int id = 0;
    while (FindById(id) != nullptr) ++id;
    return id;
}

void RecentServerList::AddRecentServer(const std::string& address, const std::string& timeText,
                                       const std::string& note) {
    if (Entry* existing = Find(address)) {
        existing->timeText = timeText;
        existing->note = note;
        return;
    }
    if (entries_.size() >= static_cast<std::size_t>(kMaxEntries)) Remove(entries_.front().id);
    Entry entry{SmallestFreeId(), timeText, address, note};
    entries_.push_back(entry);
    view_.AddServerItem(entry.id, Label(entry), normalColour_);
}

void RecentServerList::SetRecentServerNote(const std::string& address, const std::string& note) {
    Entry* entry = Find(address);
    if (entry == nullptr) return;
    entry->note = note;
    view_.SetServerItemLabel(entry->id, Label(*entry));
}

void RecentServerList::MarkRecentServer(const std::string& address, std::uint32_t colour) {
    if (const Entry* entry = Find(address)) view_.SetServerItemColour(entry->id, colour);
}

void RecentServerList::Remove(int id) {
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    if (found == entries_.end()) return;
    entries_.erase(found);
    view_.RemoveServerItem(id);
}

void RecentServerList::ClearTree() { view_.ClearServerItems(); }

std::vector<storage::RecentServerRecord> RecentServerList::Records() const {
    std::vector<storage::RecentServerRecord> records;
    records.reserve(entries_.size());
    for (const Entry& entry : entries_) records.push_back({entry.timeText, entry.address, entry.note});
    return records;
}

void RecentServerList::Load(const std::vector<storage::RecentServerRecord>& records) {
    for (const auto& record : records) AddRecentServer(record.address, record.timeText, record.note);
}

}  // namespace vorlan::client
