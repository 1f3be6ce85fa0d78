#include "client/ServerMessages.h"

#include "client/ClientSession.h"
#include "client/ServerMessageReader.h"
#include "conversation/ChatLines.h"

namespace vorlan::client {

const std::array<ServerMessages::Handler, 21> ServerMessages::kHandlers = {
    &ServerMessages::OnUserEntry,            // "00"
    &ServerMessages::OnUserJoined,           // "01"
    &ServerMessages::OnUserLeft,             // "02"
    &ServerMessages::OnTopicText,            // "03"
    &ServerMessages::OnMainChatMessage,      // "04"
    &ServerMessages::OnUserRenamed,          // "05"
    &ServerMessages::OnUserStatusChanged,    // "06"
    &ServerMessages::OnUserModeChanged,      // "07"
    &ServerMessages::OnAdminGranted,         // "08"
    &ServerMessages::OnAdminRevoked,         // "09"
    &ServerMessages::OnUserAddress,          // "10"
    &ServerMessages::OnProfileQuery,         // "11"
    &ServerMessages::OnProfileInfo,          // "12"
    &ServerMessages::OnPrivateMessage,       // "13"
    &ServerMessages::OnFileTransferControl,  // "14"
    &ServerMessages::OnVersionQuery,         // "15"
    &ServerMessages::OnUserVersion,          // "16"
    &ServerMessages::OnUserMuteChanged,      // "17"
    &ServerMessages::OnUserRemoved,          // "18"
    &ServerMessages::OnConnectionEntry,      // "19"
    &ServerMessages::OnBanEntry,             // "20"
};

void ServerMessages::Handle(std::string_view message) {
    if (message.size() < 2 || !reader::IsDigitIn(message[0], '0', '2') || !reader::IsDigitIn(message[1], '0', '9')) {
        return;
    }
    const std::size_t code = static_cast<std::size_t>((message[0] - '0') * 10 + (message[1] - '0'));
    if (code >= kHandlers.size()) return;
    (this->*kHandlers[code])(message.substr(2), message);
}

void ServerMessages::WriteMainEvent(int id, const std::string& event) {
    const UserTree& users = session_.users_;
    conversation::WriteEventLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_, users.UserName(id),
                                 users.UserColour(id), event);
}

void ServerMessages::UserGone(int id) {
    session_.privateChats_.UserGone(id);
    session_.views_.transfers.CancelTransfersWith(id);
    session_.users_.RemoveUser(id);
}

bool ServerMessages::IsKnownRequester(std::string_view body) const {
    if (body.empty() || body.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const int id = protocol::ReadDecimal(body);
    return id > 0 && session_.users_.HasUser(id);
}

}  // namespace vorlan::client
