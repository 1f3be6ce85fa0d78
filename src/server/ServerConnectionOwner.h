#pragma once

namespace vorlan::server {

class ServerConnection;

// What a connection reports to the server that owns it.
class ServerConnectionOwner {
public:
    virtual void OnServerAccept(int error, int listenerId) = 0;
    virtual void OnServerReceive(int error, int connectionId) = 0;
    virtual void OnServerClose(int error, int connectionId) = 0;
    // The socket has room again; the owner has the connection flush.
    virtual void OnServerWritable(int connectionId) = 0;
    // The socket refused more than the bound allows; the backlog is released.
    virtual void OnSendBacklogExceeded(int connectionId) = 0;
    // The connection queued bytes; the owner calls Flush once it decides they go.
    virtual void OnOutputQueued(ServerConnection& connection) = 0;

protected:
    ~ServerConnectionOwner() = default;
};

}  // namespace vorlan::server
