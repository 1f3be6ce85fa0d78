#include "conversation/RichText.h"

#include <algorithm>

namespace vorlan::conversation {
namespace {

void AppendHexByte(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

void AppendEscapedText(std::string& out, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\par\n";
        } else if (byte == '\t') {
            out += "\\tab ";
        } else if (byte == '\\' || byte == '{' || byte == '}') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte >= 0x80) {
            AppendHexByte(out, byte);
        } else {
            out += static_cast<char>(byte);
        }
    }
}

// RTF colour tables count from 1; entry 0 is the automatic colour.
std::vector<std::uint32_t> ColourTable(const std::vector<PendingRun>& runs) {
    std::vector<std::uint32_t> colours;
    for (const PendingRun& run : runs) {
        if (std::find(colours.begin(), colours.end(), run.colour) == colours.end()) colours.push_back(run.colour);
    }
    return colours;
}

// Colours are Windows colour values: red in the low byte.
void AppendColourTable(std::string& out, const std::vector<std::uint32_t>& colours) {
    out += "{\\colortbl;";
    for (std::uint32_t colour : colours) {
        out += "\\red" + std::to_string(colour & 0xFF) + "\\green" + std::to_string((colour >> 8) & 0xFF) + "\\blue" +
               std::to_string((colour >> 16) & 0xFF) + ";";
    }
    out += "}\n";
}

}  // namespace

std::string RichTextOf(const std::vector<PendingRun>& runs, const RichTextFont& font) {
    std::string out = "{\\rtf1\\ansi\\ansicpg" + std::to_string(font.codePage) + "\\deff0{\\fonttbl{\\f0\\fnil\\fcharset" +
                      std::to_string(font.charset) + " ";
    AppendEscapedText(out, font.face);
    out += ";}}\n";
    const std::vector<std::uint32_t> colours = ColourTable(runs);
    AppendColourTable(out, colours);
    out += "\\f0\\fs" + std::to_string(font.halfPoints);
    std::size_t textBytes = 0;
    for (const PendingRun& run : runs) textBytes += run.text.size();
    out.reserve(out.size() + textBytes + runs.size() * 24 + 2);
    for (const PendingRun& run : runs) {
        const auto index = std::find(colours.begin(), colours.end(), run.colour) - colours.begin() + 1;
        out += "\\cf" + std::to_string(index) + (run.bold ? "\\b" : "\\b0") + (run.isLink ? "\\ul " : "\\ulnone ");
        AppendEscapedText(out, run.text);
    }
    out += "}";
    return out;
}

}  // namespace vorlan::conversation
