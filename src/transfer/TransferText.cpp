#include "transfer/TransferText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdio>

namespace vorlan::transfer {

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The six-decimal print cut two places after the point.
std::string TwoDecimals(double value, const char* unit) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text(buffer);
    const auto point = text.find('.');
    if (point != std::string::npos) text.resize(point + 3);
    return text + unit;
}

}  // namespace

std::string FormatSize(std::int64_t bytes) {
    const double v = static_cast<double>(bytes);
    if (v < 1024) return std::to_string(bytes) + " B";
    if (v < 1048576) return TwoDecimals(v / 1024, " KB");
    if (v >= 1073741824) return TwoDecimals(v / 1073741824, " GB");
    return TwoDecimals(v / 1048576, " MB");
}

int LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<BufferSize> ParseBufferSize(std::string_view field) {
    const std::string text = Upper(Trim(field));
    if (text.empty()) return std::nullopt;
    const int n = LeadingNumber(text);
    if (text.ends_with(" MB")) {
        if (n < 1) return std::nullopt;
        return BufferSize{"1 MB", kMaxBufferSize};
    }
    if (text.ends_with(" KB")) {
        if (n <= 0) return std::nullopt;
        if (n > 1024) return BufferSize{"1024 KB", kMaxBufferSize};
        return BufferSize{std::to_string(n) + " KB", n * 1024};
    }
    // " B" and a bare number read alike.
    if (n <= 0) return std::nullopt;
    if (n > kMaxBufferSize) return BufferSize{"1048576 B", kMaxBufferSize};
    return BufferSize{std::to_string(n) + " B", n};
}

PortRange ParsePortRange(std::string_view field) {
    const auto dash = field.find('-');
    if (dash == std::string_view::npos) {
        const int port = LeadingNumber(Trim(field));
        return {port, 0, std::to_string(port)};
    }
    int a = LeadingNumber(Trim(field.substr(0, dash)));
    int b = LeadingNumber(Trim(field.substr(dash + 1)));
    if (a <= 0 || b <= 0) return {0, 0, "0"};
    if (b < a) std::swap(a, b);
    if (a == b) return {a, 0, std::to_string(a)};
    return {a, b, std::to_string(a) + "-" + std::to_string(b)};
}

std::string NormalisePath(std::string_view text) {
    std::string path(Trim(text));
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FolderOf(std::string_view path) {
    const auto slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string NameOf(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string SafeFileName(std::string_view offered) {
    const auto cut = offered.find_last_of("\\/:");
    std::string name(cut == std::string_view::npos ? offered : offered.substr(cut + 1));
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>\"|?*").find(c) != std::string_view::npos) c = '_';
    }
    // Windows drops trailing dots and blanks, so "..", "x." and "CON. " would
    // name something else than they show.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) return {};
    // A device name stays a device with any extension ("nul.txt").
    const std::string stem = Upper(name.substr(0, name.find('.')));
    std::string_view base = Trim(stem);
    static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    bool reserved = std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end();
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9') {
        reserved = true;
    }
    if (reserved) name.insert(0, "_");
    return name;
}

int Percent(std::int64_t done, std::int64_t total) {
    if (total <= 0) return 100;
    if (done <= 0) return 0;
    if (done >= total) return 100;
    // 128 bits: done * 100 overflows 64 bits for counts that a hostile peer may announce.
    return static_cast<int>(static_cast<__int128>(done) * 100 / total);
}

}  // namespace vorlan::transfer
