#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Files.h"
#include "platform/posix/PosixPath.h"

namespace vorlan::platform {

namespace {

bool StatPath(const std::string& path, struct stat& info) {
    return !path.empty() && stat(ToPosixPath(path).c_str(), &info) == 0;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool IsFullPath(const std::string& path) { return !path.empty() && (path[0] == '/' || path[0] == '\\'); }

bool CreateFolder(const std::string& path) {
    if (!path.empty() && mkdir(ToPosixPath(path).c_str(), 0777) == 0) return true;
    return DirectoryExists(path);
}

bool RemoveFile(const std::string& path) {
    // Folders are not files: unlink refuses them, as the Windows call does.
    return !path.empty() && unlink(ToPosixPath(path).c_str()) == 0;
}

bool MoveFileOver(const std::string& source, const std::string& target) {
    if (!FileExists(source) || DirectoryExists(target)) return false;
    return rename(ToPosixPath(source).c_str(), ToPosixPath(target).c_str()) == 0;
}

std::string ExecutableFolder() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) return ".";
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    File file;
    if (!file.Open(path, File::Mode::Read)) return false;
    std::string data;
    char chunk[65536];
    for (;;) {
        const std::int64_t count = file.Read(chunk, sizeof chunk);
        if (count < 0) return false;
        if (count == 0) break;
        data.append(chunk, static_cast<std::size_t>(count));
    }
    contents = std::move(data);
    return true;
}

}  // namespace vorlan::platform
