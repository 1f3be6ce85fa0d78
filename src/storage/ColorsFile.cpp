#include "storage/ColorsFile.h"

#include <cstdint>

#include "platform/Files.h"

namespace vorlan::storage {

namespace {

constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red + 256 * green + 65536 * blue;
}

// Reads colours the way "%d|%d|%d" does, one after the other from one position.
class ColorScanner {
public:
    explicit ColorScanner(std::string_view bytes) : bytes_(bytes) {}

    bool ReadColor(std::uint32_t& color) {
        int red = 0, green = 0, blue = 0;
        if (!ReadInteger(red) || !Expect('|') || !ReadInteger(green) || !Expect('|') || !ReadInteger(blue)) {
            return false;
        }
        color = Rgb(Component(red), Component(green), Component(blue));
        return true;
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    static std::uint32_t Component(int value) {
        if (value < 0) return 0;
        if (value > 255) return 255;
        return static_cast<std::uint32_t>(value);
    }

    // White space, an optional sign and at least one digit; a value too large
    // for the components saturates instead of overflowing.
    bool ReadInteger(int& value) {
        while (pos_ < bytes_.size() && IsSpace(bytes_[pos_])) ++pos_;
        bool negative = false;
        if (pos_ < bytes_.size() && (bytes_[pos_] == '-' || bytes_[pos_] == '+')) {
            negative = bytes_[pos_] == '-';
            ++pos_;
        }
        if (pos_ >= bytes_.size() || !IsDigit(bytes_[pos_])) return false;
        int magnitude = 0;
        for (; pos_ < bytes_.size() && IsDigit(bytes_[pos_]); ++pos_) {
            if (magnitude < 100000) magnitude = magnitude * 10 + (bytes_[pos_] - '0');
        }
        value = negative ? -magnitude : magnitude;
        return true;
    }

    bool Expect(char c) {
        if (pos_ >= bytes_.size() || bytes_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

Colors DefaultColors() {
    return {
        Rgb(30, 30, 30),     // 1 label text
        Rgb(255, 255, 255),  // 2 chat background
        Rgb(0, 0, 0),        // 3 chat default text
        Rgb(170, 0, 0),      // 4 notices
        Rgb(40, 40, 40),     // 5 time prefixes and chat text
        Rgb(0, 64, 160),     // 6 highlighted words
        Rgb(255, 255, 255),  // 7 tree background
        Rgb(0, 96, 192),     // 8 tree painting; the current server in the servers tree
        Rgb(0, 0, 0),        // 9 tree text
        Rgb(204, 224, 255),  // 10 tree selection fill
        Rgb(0, 84, 166),     // 11 tree focus frame
        Rgb(0, 0, 0),        // 12 reserved
        Rgb(128, 0, 128),    // 13 Host
        Rgb(176, 0, 0),      // 14 Super admin
        Rgb(0, 110, 0),      // 15 Normal admin
        Rgb(0, 0, 0),        // 16 Normal user
        Rgb(128, 128, 128),  // 17 tree painting
        Rgb(240, 240, 240),  // 18 tree painting
        Rgb(0, 64, 128),     // 19 browse tree folders
        Rgb(0, 0, 0),        // 20 browse tree files
        Rgb(64, 64, 64),     // 21 skinned controls
        Rgb(224, 224, 224),  // 22 skinned controls
        Rgb(20, 20, 20),     // 23 check box, radio and flat button text
        Rgb(0, 84, 166),     // 24 the same under the mouse
        Rgb(80, 80, 80),     // 25 focus rectangle
        Rgb(0, 0, 0),        // 26 push button text
        Rgb(0, 64, 160),     // 27 focused push button text
    };
}

void ParseColors(std::string_view bytes, Colors& colors) {
    ColorScanner scanner(bytes);
    for (std::uint32_t& color : colors) {
        if (!scanner.ReadColor(color)) return;
    }
}

bool LoadColors(const std::string& path, Colors& colors) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    ParseColors(bytes, colors);
    return true;
}

}  // namespace vorlan::storage
