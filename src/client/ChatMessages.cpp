// Lines for the main chat and the private chats.
#include "client/ServerMessages.h"

#include "client/ClientSession.h"
#include "client/ServerMessageReader.h"
#include "conversation/ChatLines.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;
using conversation::LineBuilder;
using storage::ColourIndex;

void ServerMessages::OnTopicText(std::string_view body, std::string_view) {
    if (body.empty() || (body[0] != '0' && body[0] != '1')) return;
    const std::string topic(body.substr(1));
    if (body[0] == '0') {
        LineBuilder::Plain(session_.Lines())
            .Add("Topic:", session_.Lines().textColor, true)
            .Add(" ", session_.Lines().textColor)
            .Add(topic, session_.Colour(ColourIndex::Message))
            .WriteTo(session_.views_.mainView, &session_.mainLog_);
        session_.recent_.SetRecentServerNote(session_.serverAddress_, topic);
    } else {
        LineBuilder::Indented(session_.Lines())
            .Add("Topic changed to: ", session_.Lines().textColor)
            .Add(topic, session_.Colour(ColourIndex::Message))
            .WriteTo(session_.views_.mainView, &session_.mainLog_);
    }
}

void ServerMessages::OnMainChatMessage(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id) || entry->rest.empty()) return;
    const char kind = entry->rest[0];
    const std::string text(entry->rest.substr(1));
    const std::string name = session_.users_.UserName(entry->id);
    const std::uint32_t colour = session_.users_.UserColour(entry->id);
    switch (kind) {
        case to_server::kPlainLine:
            conversation::WriteReceivedChatLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_, name,
                                                colour, text, session_.Colour(ColourIndex::Message));
            session_.CountUnreadLine();
            break;
        case to_server::kActionLine:
            conversation::WriteReceivedActionLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_, name,
                                                  colour, " ", text, session_.Colour(ColourIndex::Message));
            session_.CountUnreadLine();
            break;
        case to_server::kSaysLine:
            conversation::WriteReceivedActionLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_, name,
                                                  colour, " says: ", text, session_.Colour(ColourIndex::Message));
            session_.ShowPopup(name + " says: " + text, 0, 0);
            break;
        default: break;
    }
}

void ServerMessages::OnPrivateMessage(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id) || entry->rest.empty()) return;
    const char kind = entry->rest[0];
    if (kind != to_server::kPlainLine && kind != to_server::kActionLine && kind != to_server::kSaysLine) return;
    session_.privateChats_.ReceiveLine(entry->id, kind, std::string(entry->rest.substr(1)));
}

}  // namespace vorlan::client
