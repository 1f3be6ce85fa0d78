#pragma once

#include <string>

// Percent-encoding of arbitrary bytes into one line and back: the words of a
// served request and its answer may hold spaces, line breaks and 0xAC.
class Escaping {
public:
    static std::string Encode(const std::string& bytes);
    static std::string Decode(const std::string& text);
};
