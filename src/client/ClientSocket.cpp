#include "client/ClientSocket.h"

#include <climits>

namespace vorlan::client {

int ClientSocket::Send(const void* data, int length) {
    if (data != nullptr && length > 0)
        sendBuffer_.append(static_cast<const char*>(data), static_cast<std::size_t>(length));
    return Flush();
}

// Hands the buffer to the socket layer until it is empty or the layer refuses
// more: a partial take alone would not make the layer report writability later.
int ClientSocket::Flush() {
    int total = 0;
    while (!sendBuffer_.empty()) {
        const int chunk =
            sendBuffer_.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(sendBuffer_.size());
        const int sent = platform::AsyncSocket::Send(sendBuffer_.data(), chunk);
        if (sent < 0) return total > 0 ? total : -1;
        if (sent == 0) break;
        sendBuffer_.erase(0, static_cast<std::size_t>(sent));
        total = total > INT_MAX - sent ? INT_MAX : total + sent;
    }
    return total;
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
