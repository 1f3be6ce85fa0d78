#include "client/ClientSocket.h"

#include <climits>

namespace vorlan::client {

int ClientSocket::Send(const void* data, int length) {
    if (data != nullptr && length > 0) sendBuffer_.append(static_cast<const char*>(data), static_cast<std::size_t>(length));
    return Flush();
}

int ClientSocket::Flush() {
    if (sendBuffer_.empty()) return 0;
    const int chunk = sendBuffer_.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(sendBuffer_.size());
    const int sent = platform::AsyncSocket::Send(sendBuffer_.data(), chunk);
    if (sent > 0) sendBuffer_.erase(0, static_cast<std::size_t>(sent));
    return sent;
}

// The handlers only forward: the session may close or replace this socket from
// inside them, so nothing may touch members afterwards.
void ClientSocket::OnConnect(int error) {
    if (error == 0) SetNoDelay(true);
    events_.OnClientConnect(error);
}

void ClientSocket::OnReceive(int error) { events_.OnClientReceive(error); }

void ClientSocket::OnSend(int error) {
    if (error == 0) Flush();
}

void ClientSocket::OnClose(int error) { events_.OnClientClose(error); }

}  // namespace vorlan::client
