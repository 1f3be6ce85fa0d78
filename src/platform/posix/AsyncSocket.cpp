#include "platform/AsyncSocket.h"

#include "platform/posix/ErrorMapping.h"
#include "platform/posix/SocketBackend.h"

namespace vorlan::platform {

AsyncSocket::AsyncSocket() : backend_(std::make_unique<SocketBackend>(*this)) {}

AsyncSocket::~AsyncSocket() = default;

bool AsyncSocket::Create(std::uint16_t port, unsigned events, const std::string& bindAddress) {
    return backend_->Create(port, events, bindAddress);
}

bool AsyncSocket::Listen(int backlog) { return backend_->Listen(backlog); }

bool AsyncSocket::Accept(AsyncSocket& into) { return backend_->Accept(*into.backend_); }

bool AsyncSocket::Connect(const std::string& host, std::uint16_t port) { return backend_->Connect(host, port); }

int AsyncSocket::Send(const void* data, int length) { return backend_->Send(data, length); }

int AsyncSocket::Receive(void* buffer, int length) { return backend_->Receive(buffer, length); }

bool AsyncSocket::PendingBytes(std::uint32_t& count) { return backend_->PendingBytes(count); }

bool AsyncSocket::PeerAddress(std::string& address, std::uint16_t& port) const {
    return backend_->PeerAddress(address, port);
}

std::uint16_t AsyncSocket::LocalPort() const { return backend_->LocalPort(); }

bool AsyncSocket::ShutdownBoth() { return backend_->ShutdownBoth(); }

bool AsyncSocket::SetNoDelay(bool on) { return backend_->SetNoDelay(on); }

bool AsyncSocket::SetLingerAbort() { return backend_->SetLingerAbort(); }

void AsyncSocket::Close() { backend_->Close(); }

bool AsyncSocket::IsOpen() const { return backend_->IsOpen(); }

int AsyncSocket::LastError() { return LastSocketError(); }

void AsyncSocket::OnReceive(int) {}
void AsyncSocket::OnSend(int) {}
void AsyncSocket::OnConnect(int) {}
void AsyncSocket::OnAccept(int) {}
void AsyncSocket::OnClose(int) {}

}  // namespace vorlan::platform
