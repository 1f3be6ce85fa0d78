#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vorlan::storage::test {

// The bytes of a settings file with these lines, as the program writes them.
inline std::string CrLfLines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) bytes.append("\r\n");
        bytes.append(line);
        first = false;
    }
    return bytes;
}

// Fields joined by SEP.
inline std::string SepJoined(std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) line.push_back('\xAC');
        line.append(field);
        first = false;
    }
    return line;
}

}  // namespace vorlan::storage::test
