#include "transfer/ControlPayload.h"

#include <cstdint>

#include "protocol/Framing.h"

namespace vorlan::transfer::control {

namespace {

using protocol::kSep;
constexpr char kRelayAsIs = '0';
constexpr char kRelayWithAddress = '1';

std::string Head(char flag, int transferId, std::string_view subCode) {
    std::string out(1, flag);
    out.append(std::to_string(transferId)).push_back(kSep);
    out.append(subCode);
    return out;
}

std::optional<int> ParseInRange(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 10 || text.front() == '-') return std::nullopt;
    auto value = ParseInt64(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

std::string Offer(bool senderListens, int transferId, std::int64_t size, std::string_view name) {
    std::string out = Head(kRelayAsIs, transferId, senderListens ? kOfferServerSend : kOfferClientSend);
    out.append(std::to_string(size)).push_back(kSep);
    out.append(name);
    return out;
}

std::string Notice(std::string_view subCode, int transferId) { return Head(kRelayAsIs, transferId, subCode); }

std::string SenderListening(int transferId, int port) {
    return Head(kRelayWithAddress, transferId, kSenderListening) + std::to_string(port);
}

std::string ReceiverListening(int transferId, int port, std::int64_t offset) {
    std::string out = Head(kRelayWithAddress, transferId, kReceiverListening);
    out.append(std::to_string(port)).push_back(kSep);
    out.append(std::to_string(offset));
    return out;
}

std::string ReceiverWillConnect(int transferId, std::int64_t offset) {
    return Head(kRelayAsIs, transferId, kReceiverWillConnect) + std::to_string(offset);
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') negative = true, text.remove_prefix(1);
    if (text.empty() || text.size() > 19) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    const auto signedValue = static_cast<std::int64_t>(value);
    return negative ? -signedValue : signedValue;
}

std::optional<Control> ParseControl(std::string_view message) {
    if (!message.starts_with("14")) return std::nullopt;
    message.remove_prefix(2);
    const auto firstSep = message.find(kSep);
    if (firstSep == std::string_view::npos) return std::nullopt;
    const auto originator = ParseInRange(message.substr(0, firstSep), 1, 1000);
    message.remove_prefix(firstSep + 1);
    const auto secondSep = message.find(kSep);
    if (!originator || secondSep == std::string_view::npos) return std::nullopt;
    const auto transferId = ParseInRange(message.substr(0, secondSep), 0, 999);
    message.remove_prefix(secondSep + 1);
    if (!transferId || message.size() < 2) return std::nullopt;
    return Control{*originator, *transferId, std::string(message.substr(0, 2)), std::string(message.substr(2))};
}

std::optional<OfferFields> ParseOffer(std::string_view fields) {
    const auto sep = fields.find(kSep);
    if (sep == std::string_view::npos) return std::nullopt;
    const auto size = ParseInt64(fields.substr(0, sep));
    if (!size) return std::nullopt;
    return OfferFields{*size, std::string(fields.substr(sep + 1))};
}

std::optional<Endpoint> ParseSenderListening(std::string_view fields) {
    const auto sep = fields.find(kSep);
    if (sep == std::string_view::npos || sep == 0) return std::nullopt;
    const auto port = ParseInRange(fields.substr(sep + 1), 1, 65535);
    if (!port) return std::nullopt;
    return Endpoint{std::string(fields.substr(0, sep)), *port, 0};
}

std::optional<Endpoint> ParseReceiverListening(std::string_view fields) {
    const auto sep = fields.rfind(kSep);
    if (sep == std::string_view::npos) return std::nullopt;
    const auto offset = ParseInt64(fields.substr(sep + 1));
    auto endpoint = ParseSenderListening(fields.substr(0, sep));
    if (!offset || !endpoint) return std::nullopt;
    endpoint->offset = *offset;
    return endpoint;
}

std::optional<std::int64_t> ParseOffset(std::string_view fields) { return ParseInt64(fields); }

}  // namespace vorlan::transfer::control
