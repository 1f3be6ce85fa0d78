#include "platform/posix/FileBackend.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/PosixPath.h"

namespace vorlan::platform {

namespace {

int OpenFlags(File::Mode mode) {
    switch (mode) {
        case File::Mode::Read: return O_RDONLY;
        // Not O_TRUNC: the file is emptied only once the sharing lock is held, so
        // a refused open never damages a file that someone else is writing.
        case File::Mode::Truncate: return O_WRONLY | O_CREAT;
        case File::Mode::Append: return O_WRONLY | O_CREAT | O_APPEND;
        case File::Mode::Update: return O_RDWR;
    }
    return O_RDONLY;
}

// The flock operation for an open, or 0 for none.
int SharingLock(File::Mode mode, bool denyWrite) {
    const bool writes = mode != File::Mode::Read;
    if (writes) return denyWrite ? LOCK_EX : LOCK_SH;
    return denyWrite ? LOCK_SH : 0;
}

bool IsRegularFile(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

FileBackend::~FileBackend() { close(fd_); }

std::unique_ptr<FileBackend> FileBackend::Open(const std::string& path, File::Mode mode, bool denyWrite) {
    const int fd = open(ToPosixPath(path).c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::unique_ptr<FileBackend> file(new FileBackend(fd));
    // Folders open for reading on POSIX but never on Windows.
    if (!IsRegularFile(fd)) return nullptr;
    const int lock = SharingLock(mode, denyWrite);
    if (lock != 0 && flock(fd, lock | LOCK_NB) != 0) return nullptr;
    if (mode == File::Mode::Truncate && ftruncate(fd, 0) != 0) return nullptr;
    return file;
}

bool FileBackend::Write(const void* data, std::size_t length) {
    const char* bytes = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t written = write(fd_, bytes, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

std::int64_t FileBackend::Read(void* buffer, std::size_t length) {
    ssize_t count;
    do {
        count = read(fd_, buffer, length);
    } while (count < 0 && errno == EINTR);
    return count;
}

bool FileBackend::Seek(std::int64_t offset) {
    if (offset < 0) return false;
    return lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

std::int64_t FileBackend::Size() const {
    struct stat info {};
    if (fstat(fd_, &info) != 0) return -1;
    return info.st_size;
}

}  // namespace vorlan::platform
