#pragma once

namespace vorlan::platform {

// Winsock numbers for errno values that SocketErrors.h does not name; the
// program only compares against the named ones, logs show the rest.
inline constexpr int kPermissionDenied = 10013;   // WSAEACCES
inline constexpr int kTooManySockets = 10024;     // WSAEMFILE
inline constexpr int kAlreadyInProgress = 10037;  // WSAEALREADY
inline constexpr int kAddressNotAvailable = 10049;
inline constexpr int kNetworkUnreachable = 10051;
inline constexpr int kNoBufferSpace = 10055;
inline constexpr int kAlreadyConnected = 10056;  // WSAEISCONN

// The Winsock number for an errno value; never 0 for a failure.
int WinsockErrorFromErrno(int errnoValue);

// The thread's last socket error, as AsyncSocket::LastError reports it.
void SetLastSocketError(int error);
int LastSocketError();

// Records the Winsock number for the current errno and returns it.
int SetLastSocketErrorFromErrno();

}  // namespace vorlan::platform
