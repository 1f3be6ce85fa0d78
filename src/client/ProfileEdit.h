#pragma once

#include <cstddef>
#include <string_view>

#include "conversation/ChatInput.h"
#include "storage/Records.h"

namespace vorlan::client {

class ClientSession;

// The length limits of the settings dialogs' text fields.
inline constexpr std::size_t kNameFieldLimit = 20;
inline constexpr std::size_t kProfileFieldLimit = 200;
inline constexpr std::size_t kCustomStatusFieldLimit = 200;

// What a settings dialog's text field does after each edit: it accepts at most
// `maxLength` characters (a longer text is cut), and a SEP byte typed or
// pasted is removed at once (it would split the field on the wire and in the
// files).
conversation::InputLimit LimitDialogField(std::string_view text, std::size_t maxLength);

// The profile dialog's "update": the eight fields become the profile (without
// SEP, cut to their limits), and the name goes to the server as `NameChange`
// while connected.
void UpdateProfile(ClientSession& session, const storage::Profile& edited);

}  // namespace vorlan::client
