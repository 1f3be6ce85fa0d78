#include "protocol/ClientToServer.h"

#include "protocol/Framing.h"

namespace vorlan::protocol::to_server {

namespace {

std::string CodeAndText(std::string_view code, std::string_view text) {
    std::string out;
    out.reserve(code.size() + text.size());
    out.append(code);
    out.append(text);
    return out;
}

std::string CodeAndId(std::string_view code, int id) { return CodeAndText(code, std::to_string(id)); }

}  // namespace

std::string Login(std::string_view name, std::string_view password) {
    std::string out = CodeAndText("00", name);
    out.append(kSepText);
    out.append(password);
    return out;
}

std::string TopicChange(std::string_view topic) { return CodeAndText("01", topic); }

std::string MainChatLine(char kind, std::string_view text) {
    std::string out = CodeAndText("02", std::string_view(&kind, 1));
    out.append(text);
    return out;
}

std::string NameChange(std::string_view name) { return CodeAndText("03", name); }
std::string StatusChange(std::string_view status) { return CodeAndText("04", status); }
std::string MainChatState(bool closed) { return closed ? "051" : "050"; }
std::string EnableAdmin(int target) { return CodeAndId("06", target); }
std::string DisableAdmin(int target) { return CodeAndId("07", target); }
std::string AddressRequest(int target) { return CodeAndId("08", target); }
std::string ProfileRequest(int target) { return CodeAndId("09", target); }

std::string ProfileReply(std::string_view requester, const std::array<std::string, 9>& fields) {
    std::string out = CodeAndText("10", requester);
    for (const std::string& field : fields) {
        out.append(kSepText);
        out.append(field);
    }
    return out;
}

std::string PrivateLine(int target, char kind, std::string_view text) {
    std::string out = CodeAndId("11", target);
    out.append(kSepText);
    out.push_back(kind);
    out.append(text);
    return out;
}

std::string FileTransferRelay(int target, std::string_view payload) {
    std::string out = CodeAndId("12", target);
    out.append(kSepText);
    out.append(payload);
    return out;
}

std::string VersionRequest(int target) { return CodeAndId("13", target); }

std::string VersionReply(std::string_view requester, std::string_view version) {
    std::string out = CodeAndText("14", requester);
    out.append(kSepText);
    out.append(version);
    return out;
}

std::string MuteChange(bool mute, int target) { return CodeAndId(mute ? "151" : "150", target); }
std::string KickUser(int target) { return CodeAndId("16", target); }
std::string BanUser(std::string_view targetOrAddress) { return CodeAndText("17", targetOrAddress); }
std::string BanUser(int target) { return CodeAndId("17", target); }
std::string ConnectionsRequest() { return "18"; }
std::string BanListRequest() { return "19"; }

std::string BanListRemove(int banId) {
    std::string out = CodeAndId("20", banId);
    out.push_back('0');
    return out;
}

std::string BanListAdd(std::string_view address, std::string_view description) {
    std::string out = CodeAndText("20", address);
    out.append(kSepText);
    out.append(description);
    out.push_back('1');
    return out;
}

}  // namespace vorlan::protocol::to_server
