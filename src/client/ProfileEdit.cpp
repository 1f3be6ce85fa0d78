#include "client/ProfileEdit.h"

#include "client/ClientSession.h"
#include "protocol/Framing.h"

namespace vorlan::client {
namespace {

// A field as the dialog would have let it through: no SEP, at most `maxLength`.
std::string CleanField(const std::string& text, std::size_t maxLength) {
    std::string clean;
    for (char c : text) {
        if (c != protocol::kSep) clean.push_back(c);
    }
    if (clean.size() > maxLength) clean.resize(maxLength);
    return clean;
}

}  // namespace

conversation::InputLimit LimitDialogField(std::string_view text, std::size_t maxLength) {
    conversation::InputLimit limit;
    limit.maxLength = maxLength;
    for (char c : text) {
        if (c == protocol::kSep) {
            limit.changed = true;
        } else {
            limit.text.push_back(c);
        }
    }
    // Typing and pasting stop at the limit; text set by a program does not.
    if (limit.text.size() > maxLength) {
        limit.text.resize(maxLength);
        limit.changed = true;
    }
    return limit;
}

void UpdateProfile(ClientSession& session, const storage::Profile& edited) {
    storage::Profile& profile = session.profile();
    profile.name = CleanField(edited.name, kNameFieldLimit);
    profile.email = CleanField(edited.email, kProfileFieldLimit);
    profile.country = CleanField(edited.country, kProfileFieldLimit);
    profile.homePage = CleanField(edited.homePage, kProfileFieldLimit);
    profile.interests = CleanField(edited.interests, kProfileFieldLimit);
    profile.gender = CleanField(edited.gender, kProfileFieldLimit);
    profile.birthday = CleanField(edited.birthday, kProfileFieldLimit);
    profile.pictureUrl = CleanField(edited.pictureUrl, kProfileFieldLimit);
    session.UpdateOwnName(profile.name);
}

}  // namespace vorlan::client
