#include "transfer/SessionTransfers.h"

#include "conversation/ChatLines.h"

namespace vorlan::transfer {

class SessionTransfers::Host : public TransferHost, public TransferNotices {
public:
    explicit Host(std::function<client::ClientSession&()> session) : session_(std::move(session)) {}

    void SendControl(int peerId, const std::string& body) override { session_().SendFileTransferRelay(peerId, body); }
    std::string UserName(int userId) const override {
        const client::UserTree& users = session_().userTree();
        return users.HasUser(userId) ? users.UserName(userId) : std::string();
    }
    std::string ServerAddress() const override { return session_().serverAddress(); }
    storage::Options& Options() override { return session_().options(); }
    TransferNotices& Notices() override { return *this; }

    void Notice(const std::string& text) override {
        client::ClientSession& session = session_();
        conversation::WriteNotice(session.Lines(), session.mainView(), &session.mainLog(), text);
    }
    void FileDone(const std::string& label, const std::string& path) override {
        client::ClientSession& session = session_();
        const conversation::LineContext& lines = session.Lines();
        conversation::LineBuilder::Indented(lines)
            .Add(label, lines.noticeColor)
            .Add(" " + path, lines.textColor)
            .WriteTo(session.mainView(), &session.mainLog());
    }

private:
    std::function<client::ClientSession&()> session_;
};

SessionTransfers::SessionTransfers(std::function<client::ClientSession&()> session, TransferWindowFactory& windows,
                                   TransferTuning tuning)
    : SessionTransfers(std::make_unique<Host>(std::move(session)), windows, std::move(tuning)) {}

SessionTransfers::SessionTransfers(std::unique_ptr<Host> host, TransferWindowFactory& windows, TransferTuning tuning)
    : FileTransfers(*host, windows, std::move(tuning)), host_(std::move(host)) {}

SessionTransfers::~SessionTransfers() { DestroyAll(); }

}  // namespace vorlan::transfer
