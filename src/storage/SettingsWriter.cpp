#include "storage/SettingsWriter.h"

#include "platform/Files.h"
#include "protocol/Framing.h"

namespace vorlan::storage {

void SettingsWriter::AddFlag(bool value) {
    StartLine();
    bytes_.push_back(value ? '1' : '0');
}

void SettingsWriter::AddNumber(int value) {
    StartLine();
    bytes_.append(std::to_string(value));
}

void SettingsWriter::AddText(std::string_view text) {
    StartLine();
    AppendFieldText(text, true);
}

void SettingsWriter::AddFields(std::initializer_list<std::string_view> fields) {
    StartLine();
    std::size_t index = 0;
    for (std::string_view field : fields) {
        bool last = ++index == fields.size();
        if (index > 1) bytes_.push_back(protocol::kSep);
        AppendFieldText(field, last);
    }
}

void SettingsWriter::StartLine() {
    if (!empty_) bytes_.append("\r\n");
    empty_ = false;
}

void SettingsWriter::AppendFieldText(std::string_view text, bool keepSep) {
    bytes_.append(keepSep ? WithoutLineBreaks(text) : WithoutLineBreaks(WithoutSep(text)));
}

std::string WithoutLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r') continue;
        out.push_back(c == '\n' ? ' ' : c);
    }
    return out;
}

std::string WithoutSep(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != protocol::kSep) out.push_back(c);
    }
    return out;
}

namespace {

// A file that is read-only, or held open by someone who denies writing, is left
// alone as it would be if it were written in place.
bool CanOpenForWriting(const std::string& path) {
    platform::File file;
    return file.Open(path, platform::File::Mode::Update);
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
    platform::File file;
    if (!file.Open(path, platform::File::Mode::Truncate)) return false;
    bool written = bytes.empty() || file.Write(bytes.data(), bytes.size());
    file.Close();
    return written;
}

}  // namespace

bool RewriteExistingFile(const std::string& path, std::string_view bytes) {
    if (!platform::FileExists(path) || !CanOpenForWriting(path)) return false;
    std::string temporary = path + ".tmp";
    if (WriteNewFile(temporary, bytes) && platform::MoveFileOver(temporary, path)) return true;
    platform::RemoveFile(temporary);
    return false;
}

}  // namespace vorlan::storage
