// One row per client code "00".."20": the code is the index.
#include "server/ChatServer.h"

namespace vorlan::server {

const std::array<ChatServer::Handler, 21> ChatServer::kHandlers = {
    &ChatServer::HandleLogin,               // "00"
    &ChatServer::HandleTopicChange,         // "01"
    &ChatServer::HandleMainChatLine,        // "02"
    &ChatServer::HandleNameChange,          // "03"
    &ChatServer::HandleStatusChange,        // "04"
    &ChatServer::HandleMainChatState,       // "05"
    &ChatServer::HandleEnableAdmin,         // "06"
    &ChatServer::HandleDisableAdmin,        // "07"
    &ChatServer::HandleAddressRequest,      // "08"
    &ChatServer::HandleProfileRequest,      // "09"
    &ChatServer::HandleProfileReply,        // "10"
    &ChatServer::HandlePrivateLine,         // "11"
    &ChatServer::HandleFileTransferRelay,   // "12"
    &ChatServer::HandleVersionRequest,      // "13"
    &ChatServer::HandleVersionReply,        // "14"
    &ChatServer::HandleMuteChange,          // "15"
    &ChatServer::HandleKickUser,            // "16"
    &ChatServer::HandleBanUser,             // "17"
    &ChatServer::HandleConnectionsRequest,  // "18"
    &ChatServer::HandleBanListRequest,      // "19"
    &ChatServer::HandleBanListEdit,         // "20"
};

}  // namespace vorlan::server
