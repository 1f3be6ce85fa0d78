#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text rules the server applies to what clients send. Bytes throughout: case is
// folded for ASCII letters only, as the 8-bit code page leaves the rest alone.
namespace vorlan::server {

inline constexpr std::string_view kLineBreaks{"\r\n"};
inline constexpr std::string_view kSepAndLineBreaks{"\xAC\r\n", 3};

std::string DeleteChars(std::string_view text, std::string_view chars);
std::string_view TrimBlanks(std::string_view text);
std::string_view CutTo(std::string_view text, std::size_t limit);
// Deletes `chars`, trims blanks, then cuts: the cleaning of names and ban texts.
std::string CleanText(std::string_view text, std::string_view chars, std::size_t limit);
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// 10/8, 172.16/12 and 192.168/16, judged on the dotted text.
bool IsPrivateAddress(std::string_view address);

// The two-digit code of a message, or -1 when its first two bytes are not digits.
int MessageCode(std::string_view message);

}  // namespace vorlan::server
