#pragma once

#include <string>
#include <string_view>

namespace vorlan::storage {

// Reads a settings or list file line by line: lines end at a line feed and every
// carriage return is dropped, so files written on any system read alike.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    // The next line in `line`; false once every line has been read, with `line`
    // then empty. An empty file still holds one (empty) line.
    bool ReadLine(std::string& line);

    // The next line, or an empty line past the end of the file: settings files
    // that are too short read as if padded with empty lines.
    std::string NextOrEmpty();

private:
    std::string_view rest_;
    bool finished_ = false;
};

}  // namespace vorlan::storage
