#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "conversation/ChatView.h"
#include "conversation/ViewText.h"

namespace vorlan::conversation {

// One run of text as a view inserts it: one colour, bold or not, a link
// (underlined) or plain.
struct PendingRun {
    std::string text;
    std::uint32_t colour = 0;
    bool bold = false;
    bool isLink = false;
    bool operator==(const PendingRun&) const = default;
};

// The AppendText calls a view holds back during a batch, as the runs it will
// insert. A single append outside a batch is a batch of one.
class PendingAppends {
public:
    // A text longer than a view holds keeps only its end: the rest would push
    // itself out again. Its links are split off here, adjacent plain runs of
    // one call joined (they share a format).
    void Add(const std::string& text, std::uint32_t colour, bool bold);

    // For a view holding `viewLength` characters: how many to drop from its
    // top. What appending one by one would push out of the new text itself is
    // removed from the runs' beginning. Leaves the runs to insert, in order.
    std::size_t Settle(std::size_t viewLength);

    const std::vector<PendingRun>& Runs() const { return runs_; }
    std::vector<PendingRun> TakeRuns() { return std::move(runs_); }
    bool Empty() const { return appended_.empty(); }
    void Clear();

private:
    std::vector<PendingRun> runs_;
    std::vector<AppendedLength> appended_;
};

// The views and logs written while one receive is handled, each in one batch.
// The batch is open between Open and Close (nested pairs count as one); a
// member that joins then has its batch begun once, and all batches end at
// Close in the order their members joined.
class ViewBatch {
public:
    void Open() { ++depth_; }
    void Close();
    bool IsOpen() const { return depth_ > 0; }

    // Begins the member's batch unless it has joined already; nothing while
    // the batch is not open.
    void Join(Batched& member);
    // The member is about to be destroyed: its batch ends now.
    void Leave(Batched& member);

private:
    int depth_ = 0;
    std::vector<Batched*> members_;
};

}  // namespace vorlan::conversation
