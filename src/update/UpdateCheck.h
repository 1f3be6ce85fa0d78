#pragma once

namespace vorlan::update {

// The check for a newer version at start-up: one asynchronous socket, one
// reading of the answer, at most one notice through the notifier.
class UpdateCheck {
public:
    virtual ~UpdateCheck() = default;
    // Start-up, when "Check for new version" is on.
    virtual void Start() = 0;
    // Shut-down: the socket is shut down and closed if it is still open.
    virtual void Stop() = 0;
};

}  // namespace vorlan::update
