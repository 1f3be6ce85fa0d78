// The private chats as the client keeps them in step with their partners.
#include "client/ClientSession.h"

#include "conversation/ChatLines.h"
#include "platform/Files.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;

PrivateChat& ClientSession::CreatePrivateChat(int userId, int newLineCount) {
    auto chat = std::make_unique<PrivateChat>(views_.privateWindows.CreatePrivateChatWindow(), userId);
    PrivateChat& added = privateChats_.Add(std::move(chat));
    added.SetNewLineCount(newLineCount);
    const std::string name = users_.UserName(userId);
    added.UpdateCaption(name);
    added.Log().OpenPrivate(programFolder_, name, options_.privateChatLogging, Lines(), added.View());
    return added;
}

PrivateChat& ClientSession::ReusePrivateChat(int userId) {
    // At the window limit the oldest window goes to the new partner.
    PrivateChat& chat = privateChats_.First();
    const std::string name = users_.UserName(userId);
    chat.ComeOnline(userId);
    chat.Window().SetCaption(name);
    chat.Log().Close(Lines());
    chat.Log().OpenPrivate(programFolder_, name, options_.privateChatLogging, Lines(), chat.View());
    return chat;
}

void ClientSession::OpenPrivateChat(int userId) {
    if (!users_.HasUser(userId)) return;
    if (privateChats_.FindByPeer(userId) == nullptr && privateChats_.IsFull()) ReusePrivateChat(userId);
    if (PrivateChat* chat = privateChats_.FindByPeer(userId)) {
        chat->Window().ShowInFront(options_.privateMaximized);
        return;
    }
    PrivateChat& chat = CreatePrivateChat(userId, 0);
    chat.Window().ShowInFront(options_.privateMaximized);
}

bool ClientSession::OpenPrivateChatFromInfo() {
    if (!users_.HasUser(infoUserId_)) return false;
    OpenPrivateChat(infoUserId_);
    return true;
}

void ClientSession::OnPrivateWindowActivated(const PrivateChatWindowView* window) {
    PrivateChat* chat = privateChats_.FindByWindow(window);
    if (chat == nullptr) return;
    if (chat->newLineCount() != 0) {
        chat->SetNewLineCount(0);
        if (users_.HasUser(chat->peerId())) {
            chat->Window().SetCaption(users_.UserName(chat->peerId()));
        } else {
            chat->Window().SetCaption(chat->offlineName() + " - offline");
        }
    }
    chat->SetFlashing(false);
}

void ClientSession::ClosePrivateChat(const PrivateChatWindowView* window) {
    PrivateChat* chat = privateChats_.FindByWindow(window);
    if (chat == nullptr) return;
    chat->Log().Close(Lines());
    privateChats_.Remove(chat);
}

void ClientSession::ReceivePrivateLine(int id, char kind, const std::string& text) {
    PrivateChat* chat = privateChats_.FindByPeer(id);
    bool created = false;
    if (chat == nullptr && privateChats_.IsFull()) {
        chat = &ReusePrivateChat(id);
    } else if (chat == nullptr) {
        chat = &CreatePrivateChat(id, 1);
        created = true;
    }
    const std::string name = users_.UserName(id);
    const std::uint32_t colour = users_.UserColour(id);
    if (kind == to_server::kPlainLine) {
        conversation::WriteReceivedChatLine(Lines(), chat->View(), &chat->Log(), name, colour, text, MessageColour());
    } else {
        const std::string joiner = kind == to_server::kActionLine ? " " : " says: ";
        conversation::WriteReceivedActionLine(Lines(), chat->View(), &chat->Log(), name, colour, joiner, text,
                                              MessageColour());
        if (kind == to_server::kSaysLine) views_.popups.ShowPopup(name + " says: " + text, 0, id);
    }
    if (created) {
        chat->Window().ShowMinimisedWithoutActivating();
        chat->FlashWindow();
        PlayMessageSound();
    } else if (!chat->Window().IsForeground()) {
        chat->CountNewLine();
        chat->UpdateCaption(name);
        chat->FlashWindow();
        PlayMessageSound();
    }
}

void ClientSession::RebindPrivateChats(int id) {
    if (!users_.HasUser(id)) return;
    const std::string name = users_.UserName(id);
    for (PrivateChat* chat : privateChats_.All()) {
        if (!chat->IsOffline() || chat->offlineName() != name) continue;
        chat->ComeOnline(id);
        chat->UpdateCaption(name);
        conversation::WriteEventLine(Lines(), chat->View(), &chat->Log(), name, users_.UserColour(id), " - online.");
        if (chat->flashing()) chat->FlashWindow();
    }
}

void ClientSession::PrivateChatGoesOffline(PrivateChat& chat, const std::string& name, std::uint32_t colour) {
    chat.GoOffline(name);
    chat.UpdateCaption(name);
    conversation::WriteEventLine(Lines(), chat.View(), &chat.Log(), name, colour, " - offline.");
    if (chat.flashing()) chat.FlashWindow();
}

void ClientSession::MarkPrivateChatsOffline() {
    for (PrivateChat* chat : privateChats_.All()) {
        if (chat->IsOffline() || !users_.HasUser(chat->peerId())) continue;
        PrivateChatGoesOffline(*chat, users_.UserName(chat->peerId()), users_.UserColour(chat->peerId()));
    }
}

void ClientSession::PlayMessageSound() {
    if (!options_.messageSound) return;
    const std::string path = programFolder_ + "\\Sounds\\message.wav";
    if (platform::FileExists(path)) views_.sounds.PlayWave(path);
}

}  // namespace vorlan::client
