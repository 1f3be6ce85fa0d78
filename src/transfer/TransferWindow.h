#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/EventLoop.h"
#include "platform/Files.h"
#include "transfer/TransferSocket.h"
#include "transfer/TransferText.h"
#include "transfer/TransferViews.h"

namespace vorlan::transfer {

class FileTransfers;

// What a send window and a receive window share: the window, the file, the
// counters shown, the two sockets of a transfer and the speed timer.
class TransferWindow : public TransferWindowControl, public TransferSocketEvents, protected platform::TimerOwner {
public:
    static constexpr int kSpeedTimer = 105;
    static constexpr int kKeepAliveTimer = 106;

    // `path` is folder + name of the file; `file` is open (or closed for none).
    // The window is created here, a send window (155) or a receive window (156).
    TransferWindow(FileTransfers& service, bool sendWindow, int peerId, int transferId, const std::string& path,
                   std::int64_t fileSize, std::unique_ptr<platform::File> file);
    ~TransferWindow() override;

    int PeerId() const { return peerId_; }
    int TransferId() const { return transferId_; }
    int AwaitingPeer() const { return awaitingPeer_; }
    // The data connection was made (whatever happened after).
    bool WasConnected() const { return connected_; }
    // An end state was reached (complete, canceled, failed, closed).
    bool Ended() const { return ended_; }
    const std::string& Status() const { return status_; }
    const std::string& ThirdButtonText() const { return thirdButton_; }
    bool IsFileOpen() const { return file_ && file_->IsOpen(); }
    std::string Path() const { return folder_ + name_; }
    void Show() { view_->Show(); }

    // The peer left or the chat connection ended: a window that still waits
    // for its peer shows "Canceled". Transfers under way go on.
    virtual void PeerGone() = 0;
    // Shut-down: connections end, files close, timers stop.
    virtual void Stop() = 0;

    // TransferWindowControl
    void GoToLocation() override;
    void CloseBox() override { CloseWindow(); }

protected:
    // The window closes: the peer is told when it still waits for this side.
    void CloseWindow();
    // The notice that tells the peer this side is gone before the data
    // connection was made ("10" withdrawn / "00" canceled).
    virtual std::string_view WithdrawNotice() const = 0;
    // The same for a transfer that failed to start here ("11" / "00").
    virtual std::string_view CancelNotice() const = 0;
    // Tells the peer, while its side may still listen or wait, that this one gave up.
    void TellPeerCanceled();
    virtual const char* CaptionSuffix() const = 0;  // " - send" / " - receive"

    void SetStatus(const std::string& text);
    void SetThirdButton(const std::string& text);
    // Caption and progress bar, redrawn only when the percentage changes.
    void ShowPercent(std::int64_t done);
    void CloseFile();
    void EndSockets();
    // A listening socket on the first free port of the range; its port, or 0.
    int OpenListener(const PortRange& ports);
    // Starts connecting the data socket; false when it failed at once.
    bool StartConnect(std::string address, int port);
    // The data socket of an accepted connection, Nagle's delay off; false when the accept failed.
    bool AcceptData();
    void DataSocketUp();
    // "x B/s" from `done` since the last tick.
    void ShowSpeed(std::int64_t done);
    TransferWindowView& View() { return *view_; }

    FileTransfers& service_;
    std::unique_ptr<TransferWindowView> view_;
    int peerId_;
    int transferId_;
    int awaitingPeer_ = 0;
    std::string folder_;
    std::string name_;
    std::int64_t fileSize_;
    std::int64_t speedRef_ = 0;
    std::unique_ptr<platform::File> file_;
    int lastPercent_ = -1;
    bool connected_ = false;
    bool ended_ = false;
    std::string status_;
    std::string thirdButton_;
    std::unique_ptr<TransferSocket> listener_;
    std::unique_ptr<TransferSocket> data_;
};

}  // namespace vorlan::transfer
