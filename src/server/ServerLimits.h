#pragma once

#include <cstddef>
#include <functional>
#include <cstdint>

// The server's hard limits, in one place so that nobody has to hunt for them.
namespace vorlan::server {

inline constexpr int kMaxClients = 1000;
inline constexpr std::size_t kMaxConnectionSlots = kMaxClients + 1;  // the listener takes slot 0
inline constexpr int kListenBacklog = 5;

// Flood rules: complete messages (keepalives included) per receive notification
// and per flood-check period.
inline constexpr int kMaxMessagesPerNotification = 20;
inline constexpr int kMaxMessagesPerFloodPeriod = 20;

// Cuts applied to what clients send.
inline constexpr std::size_t kMaxNameLength = 20;
inline constexpr std::size_t kMaxTopicLength = 1000;
inline constexpr std::size_t kMaxLineLength = 1001;  // kind character plus 1000 characters of text
inline constexpr std::size_t kMaxStatusLength = 200;
inline constexpr std::size_t kMaxProfileNameLength = 20;
inline constexpr std::size_t kMaxProfileFieldLength = 200;
inline constexpr std::size_t kProfileFieldCount = 9;
inline constexpr std::size_t kMaxVersionLength = 200;

// The ban list: ids 0..49999, so at most 50000 entries; its texts are cut.
inline constexpr int kMaxBans = 50000;
inline constexpr std::size_t kMaxBanAddressLength = 200;
inline constexpr std::size_t kMaxBanDescriptionLength = 200;

// A mute list allows duplicates, so without a bound one client could grow it
// forever; a legitimate client mutes each of at most 1000 users.
inline constexpr std::size_t kMaxMutedIds = 1000;

// Unsent bytes one connection may leave refused by its socket before it is
// dropped as a flood is: a client that stops reading must not grow the server's
// memory without bound. Only what the socket was offered and did not take
// counts, never what one pass of the loop queued before offering it: a reader
// that keeps up takes a burst of any size (the kernel buffers megabytes of it),
// while one that stops soon leaves the bound refused. Each byte is judged by the
// bound of the level at which it was queued, so a demotion never turns a
// legitimate admin backlog into a flood.
// Admins may ask for the largest legitimate reply, a full ban list (50000 rows
// of at most 411 bytes, about 20.6 MB), so their bound admits that with room to
// spare. Everyone else receives at most the user list at log-in (about 240 KB
// for 1000 users) besides chat traffic, so a much smaller bound serves them, and
// connections that need no password cannot make the server hold more than
// about 1000 x 2.2 MiB of buffers for them (README, "Server memory, worst case").
inline constexpr std::size_t kDefaultAdminSendBacklogLimit = 32u * 1024u * 1024u;
inline constexpr std::size_t kDefaultUserSendBacklogLimit = 1024u * 1024u;

// Output pacing. Queued writes normally leave once the loop has handled the
// notifications that are waiting. After a flush that wrote to many connections,
// the next flush waits a few milliseconds, so that under heavy fan-out several
// lines share one system call (and one TCP segment) per client instead of each
// line costing one: the latency stays far below what a reader notices while the
// server's CPU per delivered line drops.
inline constexpr std::size_t kPacedFlushConnections = 64;
inline constexpr std::uint32_t kFlushPacingMs = 5;
// Queued output is also offered to the socket as soon as this much waits, so
// that a burst reaches the kernel while it is produced and the bytes one pass
// holds for a connection before offering them stay few.
inline constexpr std::size_t kOfferChunk = 64 * 1024;
// A full ban list is about 21 MB: it goes out this many rows at a time, the
// next rows only once less than kBanListLowWater of the last ones waits unsent,
// so that one request neither holds the loop for the whole list nor queues it
// all at once (asking again restarts it rather than queueing another copy).
inline constexpr std::size_t kBanRowsPerSlice = 2000;
inline constexpr std::size_t kBanListLowWater = 512 * 1024;

// Profile and version queries forwarded to a user and not yet answered. The
// answers do not count towards the flood limits, so that other users' questions
// never cost a user its connection; each answer was paid for by the asker's own
// limit. Past this many unanswered ones further queries to that user are
// refused, so that no crowd of askers can make it owe more than it may answer.
// A query unanswered for long is forgotten (a client that never answers).
inline constexpr std::size_t kMaxAwaitedReplies = 64;
inline constexpr std::uint32_t kReplyWaitMs = 60000;

inline constexpr int kFlushTimerId = 1;
inline constexpr int kKeepaliveTimerId = 110;
inline constexpr int kFloodCheckTimerId = 114;
inline constexpr std::uint32_t kKeepalivePeriodMs = 60000;
inline constexpr std::uint32_t kFloodCheckPeriodMs = 1000;

// Levels; a smaller number is a higher rank. -1 until log-in.
inline constexpr int kNotLoggedIn = -1;
inline constexpr int kHost = 0;
inline constexpr int kSuperAdmin = 1;
inline constexpr int kNormalAdmin = 2;
inline constexpr int kNormalUser = 3;

// Periods and bounds a test may shorten; the defaults are the product's.
struct ServerTuning {
    std::uint32_t keepalivePeriodMs = kKeepalivePeriodMs;
    std::uint32_t floodCheckPeriodMs = kFloodCheckPeriodMs;
    std::size_t adminSendBacklogLimit = kDefaultAdminSendBacklogLimit;
    std::size_t userSendBacklogLimit = kDefaultUserSendBacklogLimit;
    std::uint32_t flushPacingMs = kFlushPacingMs;
    // Monotonic milliseconds; empty: the platform's clock.
    std::function<std::uint64_t()> clock;
};

// What a connection may send before a flood check that comes `elapsedMs`
// after the last one: the limit for every period that passed, and never less
// than one period's. A check delayed by a busy loop (window timers wait behind
// every other message) must not drop a user who kept to the limit.
std::int64_t FloodAllowance(std::uint64_t elapsedMs, std::uint32_t periodMs);

}  // namespace vorlan::server
