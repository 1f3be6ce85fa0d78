#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The texts of the transfer dialogs and windows: sizes, buffer sizes, port
// ranges, paths and the offered file name.
namespace vorlan::transfer {

// The largest file that may be offered: 1000 * 2^30 bytes.
inline constexpr std::int64_t kMaxFileSize = 1073741824000LL;
inline constexpr int kMaxBufferSize = 1048576;

// "0 B", "1023 B", "1.50 KB", "12.00 MB", "1.00 GB": two decimals, cut (not rounded).
std::string FormatSize(std::int64_t bytes);

struct BufferSize {
    std::string text;  // normalised, e.g. "64 KB"
    int bytes = 0;     // 1..1048576
};
// The "Buffer size:" field; nothing when the send is abandoned.
std::optional<BufferSize> ParseBufferSize(std::string_view text);

struct PortRange {
    int first = 0;  // 0: any free port
    int last = 0;   // 0: only `first`
    std::string text;
};
// The "Port range:" field, e.g. "5000-4000" -> 4000, 5000, "4000-5000".
PortRange ParsePortRange(std::string_view text);

// The number at the front of `text` as the C library's atoi reads it
// (leading blanks, a sign, digits; 0 when there is none), saturated to int.
int LeadingNumber(std::string_view text);

// A path typed into a field: blanks around it removed, "/" turned into "\".
std::string NormalisePath(std::string_view text);
// The folder of a path up to and including its last "\" ("" when there is none).
std::string FolderOf(std::string_view path);
// The part after the last "\".
std::string NameOf(std::string_view path);

// An offered file name made safe to save under: only its last component
// (after any "\", "/" or ":"), control and wildcard characters replaced by
// "_", trailing dots and blanks dropped, a reserved device name (CON, NUL,
// COM1, ...) prefixed with "_". Empty when nothing usable remains.
std::string SafeFileName(std::string_view offered);

// done * 100 / total in whole percent, 0..100; 100 for an empty file.
int Percent(std::int64_t done, std::int64_t total);

}  // namespace vorlan::transfer
