#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The control payloads the two clients of a transfer exchange through the
// chat server: sent inside `FileTransferRelay` ("12"), delivered inside
// `FileTransferControl` ("14"). Builders return the relay body (flag and
// payload) for TransferHost::SendControl; parsers read what arrives.
namespace vorlan::transfer::control {

// Sub-codes. "1x" are read by the receiving side, "0x" by the sending side.
inline constexpr std::string_view kOfferWithdrawn{"10"};
inline constexpr std::string_view kSenderCanceled{"11"};
inline constexpr std::string_view kOfferClientSend{"12"};
inline constexpr std::string_view kOfferServerSend{"13"};
inline constexpr std::string_view kSenderListening{"14"};
inline constexpr std::string_view kReceiverCanceled{"00"};
inline constexpr std::string_view kReceiverListening{"01"};
inline constexpr std::string_view kReceiverWillConnect{"02"};

// ---- builders -------------------------------------------------------------------

// "12" (the sender connects) or "13" (the sender listens), flag "0".
std::string Offer(bool senderListens, int transferId, std::int64_t size, std::string_view name);
// A notice without fields (flag "0"): withdrawn, canceled by either side.
std::string Notice(std::string_view subCode, int transferId);
// "14", flag "1": the server writes the sender's address in front of the port.
std::string SenderListening(int transferId, int port);
// "01", flag "1": port SEP offset.
std::string ReceiverListening(int transferId, int port, std::int64_t offset);
// "02", flag "0": the offset.
std::string ReceiverWillConnect(int transferId, std::int64_t offset);

// ---- parsers ----------------------------------------------------------------------

// A delivered "14" message: originator SEP transfer id SEP sub-code fields.
struct Control {
    int originator = 0;
    int transferId = 0;
    std::string subCode;
    std::string fields;
};
// Nothing for a message that is no control: wrong code, ids that are not
// decimal numbers in range (user 1..1000, transfer 0..999), no SEP after the
// transfer id, or a sub-code shorter than two characters.
std::optional<Control> ParseControl(std::string_view message);

struct OfferFields {
    std::int64_t size = 0;
    std::string name;  // as offered; see SafeFileName
};
// size SEP name; nothing without the SEP or for a size that is no number.
std::optional<OfferFields> ParseOffer(std::string_view fields);

struct Endpoint {
    std::string address;  // "0": use the chat server's address
    int port = 0;         // 1..65535
    std::int64_t offset = 0;
};
// address SEP port ("14" as delivered).
std::optional<Endpoint> ParseSenderListening(std::string_view fields);
// address SEP port SEP offset ("01" as delivered).
std::optional<Endpoint> ParseReceiverListening(std::string_view fields);
// offset ("02").
std::optional<std::int64_t> ParseOffset(std::string_view fields);

// A whole decimal number (optional "-", at least one digit, no other
// character) that fits 64 bits.
std::optional<std::int64_t> ParseInt64(std::string_view text);

}  // namespace vorlan::transfer::control
