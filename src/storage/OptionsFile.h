#pragma once

#include <string>
#include <string_view>

#include "storage/Records.h"

// "options.vr": 49 lines of flags, numbers and texts in the order of `Options`.
// The window moves and maximizes that the main window applies while the file is
// read are left to the caller, which applies them from the loaded values.
namespace vorlan::storage {

// Stores every line into `options`. A flag line starting with neither "0" nor "1"
// keeps the flag's value; lines past the end of the file read as empty.
void ParseOptions(std::string_view bytes, Options& options);
std::string FormatOptions(const Options& options);

// False, with `options` unchanged, when the file cannot be read.
bool LoadOptions(const std::string& path, Options& options);
// Rewrites the file only when it already exists; false when nothing was written.
bool SaveOptionsIfExists(const std::string& path, const Options& options);

}  // namespace vorlan::storage
