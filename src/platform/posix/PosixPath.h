#pragma once

#include <algorithm>
#include <string>

namespace vorlan::platform {

// The program writes paths the Windows way; here the separator is '/'.
inline std::string ToPosixPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace vorlan::platform
