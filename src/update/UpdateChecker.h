#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/AsyncSocket.h"
#include "update/UpdateCheck.h"

namespace vorlan::update {

// Where the check asks: an address literal, port 80, and the name the
// request's Host header carries.
struct UpdateServer {
    std::string address = "192.0.2.17";  // a documentation address: no one answers it by accident
    std::uint16_t port = 80;
    std::string hostName = "www.vorlan.net";
};

// The request, exactly: lines end in a single line feed, no other header.
std::string UpdateRequest(const std::string& hostName);

// The check at start-up over its own asynchronous socket: connect, send the
// request once, read what waits at the first read notification, judge it, and
// close. At most one notice; every failure is silent; no retry.
class UpdateChecker : public UpdateCheck, private platform::AsyncSocket {
public:
    // `notice` gets the text of an update notice.
    UpdateChecker(UpdateServer server, std::function<void(const std::string&)> notice)
        : server_(std::move(server)), notice_(std::move(notice)) {}
    ~UpdateChecker() override;

    void Start() override;
    void Stop() override;

private:
    void OnConnect(int error) override;
    void OnReceive(int error) override;
    void OnClose(int error) override;

    UpdateServer server_;
    std::function<void(const std::string&)> notice_;
    bool started_ = false;  // used once per run
};

}  // namespace vorlan::update
