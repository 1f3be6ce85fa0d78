// Queries from other users and the answers to our own.
#include "client/ServerMessages.h"

#include "client/ClientSession.h"
#include "client/ServerMessageReader.h"
#include "conversation/ChatLines.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;
using storage::ColourIndex;

void ServerMessages::OnUserAddress(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id)) return;
    conversation::WriteEventValueLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_,
                                      session_.users_.UserName(entry->id), session_.users_.UserColour(entry->id),
                                      "'s IP address: ", std::string(entry->rest),
                                      session_.Colour(ColourIndex::Message));
}

void ServerMessages::OnProfileQuery(std::string_view body, std::string_view) {
    if (!IsKnownRequester(body)) return;
    const std::array<std::string, 9> fields = {
        session_.settings_.profile.name,     session_.settings_.profile.email,      session_.settings_.profile.country,
        session_.settings_.profile.homePage, session_.settings_.profile.interests,  session_.settings_.profile.gender,
        session_.settings_.profile.birthday, session_.settings_.profile.pictureUrl, session_.statusText_};
    session_.link_.Send(to_server::ProfileReply(body, fields));
}

void ServerMessages::OnProfileInfo(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id)) return;
    session_.views_.info.ShowInfoWindow();
    session_.views_.info.SetInfoCaption(session_.users_.UserName(entry->id) + "'s info");
    session_.infoUserId_ = entry->id;
    session_.views_.info.SetInfoUserId(entry->id);
    std::string_view rest = entry->rest;
    for (int index = 0; index < kInfoFieldCount; ++index) {
        // The status, the last field, may itself hold SEP.
        if (index == kInfoFieldCount - 1) {
            session_.views_.info.SetInfoField(index, std::string(rest));
            break;
        }
        auto field = reader::TakeField(rest);
        if (!field) {
            session_.views_.info.SetInfoField(index, std::string(rest));  // the last field present
            break;
        }
        session_.views_.info.SetInfoField(index, std::string(*field));
    }
}

void ServerMessages::OnFileTransferControl(std::string_view body, std::string_view message) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id)) return;
    session_.views_.transfers.OnFileTransferControl(std::string(message));
}

void ServerMessages::OnVersionQuery(std::string_view body, std::string_view) {
    if (!IsKnownRequester(body)) return;
    session_.link_.Send(to_server::VersionReply(body));
}

void ServerMessages::OnUserVersion(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id)) return;
    conversation::WriteEventValueLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_,
                                      session_.users_.UserName(entry->id), session_.users_.UserColour(entry->id),
                                      "'s version: ", std::string(entry->rest), session_.Colour(ColourIndex::Message));
}

}  // namespace vorlan::client
