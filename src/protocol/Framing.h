#pragma once

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

// Framing shared by both directions of the chat protocol: a message is 8-bit
// text ended by one zero byte that is transmitted; fields are separated by SEP.
namespace vorlan::protocol {

inline constexpr char kSep = '\xAC';
inline constexpr std::string_view kSepText{"\xAC", 1};
inline constexpr std::size_t kMaxKeptTail = 2000;

// Appends `text` and its terminating zero byte to `out`.
inline void AppendFrame(std::string& out, std::string_view text) {
    out.append(text);
    out.push_back('\0');
}

inline std::string Frame(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    AppendFrame(out, text);
    return out;
}

// Reads the leading decimal digits of `text`; anything else reads as 0.
// A digit run too long for an int saturates at INT_MAX, which names no user,
// no ban entry and no window size, instead of wrapping into a valid value.
inline int ReadDecimal(std::string_view text) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

// Splits a byte stream into messages at zero bytes, keeping an unterminated tail
// across calls. Used by the server's connections and by the client socket, which
// differ only in what they do with each message and with an over-long tail.
class FrameSplitter {
public:
    explicit FrameSplitter(std::size_t maxTail = kMaxKeptTail) : maxTail_(maxTail) {}

    // Calls onFrame(std::string_view message) for every zero byte, in order; the
    // message is the kept tail plus the bytes since the previous zero byte and is
    // empty for a keepalive. onFrame returns false to stop: the rest of `bytes`
    // is then discarded (the tail is left empty).
    // Returns false when the bytes after the last zero byte would make the kept
    // tail longer than the limit; the tail is then emptied and those bytes dropped.
    template <typename OnFrame>
    bool Feed(std::string_view bytes, OnFrame&& onFrame) {
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t zero = bytes.find('\0', start);
            if (zero == std::string_view::npos) break;
            std::string_view piece = bytes.substr(start, zero - start);
            start = zero + 1;
            bool goOn;
            if (tail_.empty()) {
                goOn = onFrame(piece);
            } else {
                std::string message = std::move(tail_);
                tail_.clear();
                message.append(piece);
                goOn = onFrame(std::string_view(message));
            }
            if (!goOn) {
                tail_.clear();
                return true;
            }
        }
        std::string_view rest = bytes.substr(start);
        if (rest.empty()) return true;
        if (tail_.size() + rest.size() > maxTail_) {
            tail_.clear();
            return false;
        }
        tail_.append(rest);
        return true;
    }

    const std::string& Tail() const { return tail_; }
    void Clear() { tail_.clear(); }

private:
    std::size_t maxTail_;
    std::string tail_;
};

}  // namespace vorlan::protocol
