#include "update/UpdateChecker.h"

#include <string>

#include "update/UpdateNotice.h"

namespace vorlan::update {

std::string UpdateRequest(const std::string& hostName) {
    return "GET /programs/info.txt HTTP/1.1\nHost: " + hostName + "\n\n";
}

UpdateChecker::~UpdateChecker() { Stop(); }

void UpdateChecker::Start() {
    if (started_) return;
    started_ = true;
    if (!Create(0, platform::kEventRead | platform::kEventConnect | platform::kEventClose)) return;
    if (!Connect(server_.address, server_.port) && LastError() != platform::kWouldBlock) Close();
}

void UpdateChecker::Stop() {
    if (!IsOpen()) return;
    ShutdownBoth();
    Close();
}

void UpdateChecker::OnConnect(int error) {
    if (error != 0) {
        Stop();
        return;
    }
    const std::string request = UpdateRequest(server_.hostName);
    Send(request.data(), static_cast<int>(request.size()));
}

void UpdateChecker::OnReceive(int error) {
    std::string response;
    if (error == 0) {
        std::uint32_t pending = 0;
        if (!PendingBytes(pending)) pending = 0;
        // Only what waits now is judged; a busy server's reply is never
        // waited for. Bounded: an answer is a few bytes.
        response.resize(std::min<std::uint32_t>(pending, 64 * 1024));
        const int read = response.empty() ? 0 : Receive(response.data(), static_cast<int>(response.size()));
        response.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    }
    Stop();
    if (auto notice = UpdateNoticeFor(response)) notice_(*notice);
}

void UpdateChecker::OnClose(int) { Stop(); }

}  // namespace vorlan::update
