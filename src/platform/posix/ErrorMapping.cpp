#include "platform/posix/ErrorMapping.h"

#include <cerrno>

#include "platform/SocketErrors.h"

namespace vorlan::platform {

namespace {

int& LastErrorSlot() {
    thread_local int lastError = kSocketOk;
    return lastError;
}

}  // namespace

int WinsockErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
        case 0: return kNetworkDown;  // a failure without a cause is still a failure
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
        case EINPROGRESS: return kWouldBlock;
        case EALREADY: return kAlreadyInProgress;
        case EINVAL: return kInvalidArgument;
        case EBADF:
        case ENOTSOCK: return kNotSocket;
        case EADDRINUSE: return kAddressInUse;
        case EADDRNOTAVAIL: return kAddressNotAvailable;
        case ENETDOWN: return kNetworkDown;
        case ENETUNREACH: return kNetworkUnreachable;
        case ECONNABORTED: return kConnectionAborted;
        case ECONNRESET:
        case EPIPE: return kConnectionReset;
        case ENOTCONN: return kNotConnected;
        case EISCONN: return kAlreadyConnected;
        case ETIMEDOUT: return kTimedOut;
        case ECONNREFUSED: return kConnectionRefused;
        case EHOSTUNREACH:
        case EHOSTDOWN: return kHostUnreachable;
        case EACCES:
        case EPERM: return kPermissionDenied;
        case EMFILE:
        case ENFILE: return kTooManySockets;
        case ENOBUFS:
        case ENOMEM: return kNoBufferSpace;
        default: return kNetworkDown;
    }
}

void SetLastSocketError(int error) { LastErrorSlot() = error; }

int LastSocketError() { return LastErrorSlot(); }

int SetLastSocketErrorFromErrno() {
    const int error = WinsockErrorFromErrno(errno);
    SetLastSocketError(error);
    return error;
}

}  // namespace vorlan::platform
