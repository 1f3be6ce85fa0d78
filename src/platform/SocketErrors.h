#pragma once

// Error codes reported by AsyncSocket. Both backends use the Winsock numbers so
// that the program, its logs and its tests see the same values on every system.
namespace vorlan::platform {

inline constexpr int kSocketOk = 0;
inline constexpr int kWouldBlock = 10035;       // WSAEWOULDBLOCK: try again after OnSend / pending connect
inline constexpr int kInvalidArgument = 10022;  // WSAEINVAL
inline constexpr int kNotSocket = 10038;        // WSAENOTSOCK: operation on a closed socket
inline constexpr int kAddressInUse = 10048;     // WSAEADDRINUSE
inline constexpr int kNetworkDown = 10050;      // WSAENETDOWN: fallback for unmapped errors
inline constexpr int kConnectionAborted = 10053;
inline constexpr int kConnectionReset = 10054;
inline constexpr int kNotConnected = 10057;
inline constexpr int kTimedOut = 10060;
inline constexpr int kConnectionRefused = 10061;
inline constexpr int kHostUnreachable = 10065;
inline constexpr int kHostNotFound = 11001;  // WSAHOST_NOT_FOUND

}  // namespace vorlan::platform
