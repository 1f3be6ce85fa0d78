#include "client/PrivateChats.h"

#include "client/ClientSession.h"
#include "conversation/ChatLines.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;
using storage::ColourIndex;

conversation::ChatView& PrivateChats::ViewOf(PrivateChat& chat) {
    session_.viewBatch_.Join(chat.View());
    session_.viewBatch_.Join(chat.Log());
    return chat.View();
}

PrivateChat& PrivateChats::Create(int userId, int newLineCount) {
    auto chat = std::make_unique<PrivateChat>(session_.views_.privateWindows.CreatePrivateChatWindow(), userId);
    PrivateChat& added = chats_.Add(std::move(chat));
    added.SetNewLineCount(newLineCount);
    const std::string name = session_.users_.UserName(userId);
    added.UpdateCaption(name);
    added.Log().OpenPrivate(session_.programFolder(), name, session_.options().privateChatLogging, session_.Lines(),
                            ViewOf(added));
    return added;
}

PrivateChat& PrivateChats::Reuse(int userId) {
    // At the window limit the oldest window goes to the new partner.
    PrivateChat& chat = chats_.First();
    const std::string name = session_.users_.UserName(userId);
    chat.ComeOnline(userId);
    chat.Window().SetCaption(name);
    chat.Log().Close(session_.Lines());
    chat.Log().OpenPrivate(session_.programFolder(), name, session_.options().privateChatLogging, session_.Lines(),
                           ViewOf(chat));
    return chat;
}

void PrivateChats::Open(int userId) {
    if (!session_.users_.HasUser(userId)) return;
    if (chats_.FindByPeer(userId) == nullptr && chats_.IsFull()) Reuse(userId);
    PrivateChat* chat = chats_.FindByPeer(userId);
    if (chat == nullptr) chat = &Create(userId, 0);
    chat->Window().ShowInFront(session_.options().privateMaximized);
}

void PrivateChats::OnWindowActivated(const PrivateChatWindowView* window) {
    PrivateChat* chat = chats_.FindByWindow(window);
    if (chat == nullptr) return;
    if (chat->newLineCount() != 0) {
        chat->SetNewLineCount(0);
        if (session_.users_.HasUser(chat->peerId())) {
            chat->Window().SetCaption(session_.users_.UserName(chat->peerId()));
        } else {
            chat->Window().SetCaption(chat->offlineName() + " - offline");
        }
    }
    chat->SetFlashing(false);
}

void PrivateChats::Close(const PrivateChatWindowView* window) {
    PrivateChat* chat = chats_.FindByWindow(window);
    if (chat == nullptr) return;
    chat->Log().Close(session_.Lines());
    session_.viewBatch_.Leave(chat->View());
    session_.viewBatch_.Leave(chat->Log());
    chats_.Remove(chat);
}

void PrivateChats::ReceiveLine(int id, char kind, const std::string& text) {
    PrivateChat* chat = chats_.FindByPeer(id);
    bool created = false;
    if (chat == nullptr && chats_.IsFull()) {
        chat = &Reuse(id);
    } else if (chat == nullptr) {
        chat = &Create(id, 1);
        created = true;
    }
    const UserTree& users = session_.users_;
    const std::string name = users.UserName(id);
    const std::uint32_t colour = users.UserColour(id);
    const std::uint32_t message = session_.Colour(ColourIndex::Message);
    if (kind == to_server::kPlainLine) {
        conversation::WriteReceivedChatLine(session_.Lines(), ViewOf(*chat), &chat->Log(), name, colour, text, message);
    } else {
        const std::string joiner = kind == to_server::kActionLine ? " " : " says: ";
        conversation::WriteReceivedActionLine(session_.Lines(), ViewOf(*chat), &chat->Log(), name, colour, joiner, text,
                                              message);
        if (kind == to_server::kSaysLine) session_.ShowPopup(name + " says: " + text, 0, id);
    }
    if (created) {
        chat->Window().ShowMinimisedWithoutActivating();
        chat->FlashWindow();
        session_.views_.notifications.PlayMessageSound();
    } else if (!chat->Window().IsForeground()) {
        chat->CountNewLine();
        chat->UpdateCaption(name);
        chat->FlashWindow();
        session_.views_.notifications.PlayMessageSound();
    }
}

void PrivateChats::Rebind(int id) {
    const UserTree& users = session_.users_;
    if (!users.HasUser(id)) return;
    const std::string name = users.UserName(id);
    for (PrivateChat* chat : chats_.All()) {
        if (!chat->IsOffline() || chat->offlineName() != name) continue;
        chat->ComeOnline(id);
        chat->UpdateCaption(name);
        conversation::WriteEventLine(session_.Lines(), ViewOf(*chat), &chat->Log(), name, users.UserColour(id),
                                     " - online.");
        if (chat->flashing()) chat->FlashWindow();
    }
}

void PrivateChats::GoOffline(PrivateChat& chat, const std::string& name, std::uint32_t colour) {
    chat.GoOffline(name);
    chat.UpdateCaption(name);
    conversation::WriteEventLine(session_.Lines(), ViewOf(chat), &chat.Log(), name, colour, " - offline.");
    if (chat.flashing()) chat.FlashWindow();
}

void PrivateChats::UserGone(int id) {
    const UserTree& users = session_.users_;
    const std::string name = users.UserName(id);
    const std::uint32_t colour = users.UserColour(id);
    for (PrivateChat* chat : chats_.All()) {
        if (chat->peerId() == id) GoOffline(*chat, name, colour);
    }
}

void PrivateChats::MarkAllOffline() {
    const UserTree& users = session_.users_;
    for (PrivateChat* chat : chats_.All()) {
        if (chat->IsOffline() || !users.HasUser(chat->peerId())) continue;
        GoOffline(*chat, users.UserName(chat->peerId()), users.UserColour(chat->peerId()));
    }
}

void PrivateChats::UserRenamed(int id, const std::string& oldName, const std::string& newName) {
    const std::uint32_t colour = session_.users_.UserColour(id);
    for (PrivateChat* chat : chats_.All()) {
        if (chat->peerId() != id) continue;
        chat->UpdateCaption(newName);
        conversation::WriteEventValueLine(session_.Lines(), ViewOf(*chat), &chat->Log(), oldName, colour,
                                          " changed name to: ", newName, colour);
    }
}

void PrivateChats::UserStatusChanged(int id, const std::string& status) {
    const UserTree& users = session_.users_;
    for (PrivateChat* chat : chats_.All()) {
        if (chat->peerId() != id) continue;
        conversation::WriteEventValueLine(session_.Lines(), ViewOf(*chat), &chat->Log(), users.UserName(id),
                                          users.UserColour(id), " changed status to: ", status,
                                          session_.Colour(ColourIndex::Message));
    }
}

void PrivateChats::CloseAll() {
    for (PrivateChat* chat : chats_.All()) {
        chat->Log().Close(session_.Lines());
        session_.viewBatch_.Leave(chat->View());
        session_.viewBatch_.Leave(chat->Log());
    }
    chats_.Clear();
}

}  // namespace vorlan::client
