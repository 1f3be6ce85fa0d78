#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vorlan::storage {

// Builds the bytes of a settings or list file: lines joined by CR LF, no line
// break after the last one, fields of one line joined by SEP.
class SettingsWriter {
public:
    void AddFlag(bool value);             // "1" or "0"
    void AddNumber(int value);            // decimal
    void AddText(std::string_view text);  // the whole line
    // One line of fields. Every field but the last loses its SEP bytes, which a
    // reader would take for the end of the field.
    void AddFields(std::initializer_list<std::string_view> fields);

    const std::string& Bytes() const { return bytes_; }

private:
    void StartLine();
    void AppendFieldText(std::string_view text, bool keepSep);

    std::string bytes_;
    bool empty_ = true;
};

// A line break inside a text would split it into two lines when the file is read
// back and shift every later line (a topic could then overwrite the passwords
// that follow it), so texts are written without CR and with LF as a space.
std::string WithoutLineBreaks(std::string_view text);

std::string WithoutSep(std::string_view text);

// Rewrites the file at `path` with `bytes` if it already exists and may be
// written; a missing file stays missing. The bytes go to a sibling temporary file
// first, which then replaces the target, so a crash never leaves a half file.
// False when nothing was written; the old file is then unchanged.
bool RewriteExistingFile(const std::string& path, std::string_view bytes);

}  // namespace vorlan::storage
