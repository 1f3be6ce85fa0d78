#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "client/ClientViews.h"
#include "storage/Records.h"

namespace vorlan::client {

// The recently used servers, oldest first, unique by exact address, each shown
// as one item of the servers tree.
class RecentServerList {
public:
    static constexpr int kMaxEntries = 49;

    struct Entry {
        int id = 0;  // also the tree item's id
        std::string timeText;
        std::string address;
        std::string note;
    };

    // `normalColour` is the colour of an item that is not the current server.
    RecentServerList(RecentServersView& view, std::uint32_t normalColour);

    // An existing address only gets the new time text and note (its label stays
    // until the next start); a new one pushes out the oldest entry when full.
    void AddRecentServer(const std::string& address, const std::string& timeText, const std::string& note);
    void SetRecentServerNote(const std::string& address, const std::string& note);
    void MarkRecentServer(const std::string& address, std::uint32_t colour);
    void Remove(int id);
    // Empties the tree but keeps the entries, which shut-down still saves.
    void ClearTree();

    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry* FindById(int id) const;
    const Entry* FindByAddress(const std::string& address) const;

    // For the settings file, and back.
    std::vector<storage::RecentServerRecord> Records() const;
    void Load(const std::vector<storage::RecentServerRecord>& records);

    static std::string Label(const Entry& entry);

private:
    Entry* Find(const std::string& address);
    int SmallestFreeId() const;

    RecentServersView& view_;
    std::uint32_t normalColour_;
    std::vector<Entry> entries_;
};

}  // namespace vorlan::client
