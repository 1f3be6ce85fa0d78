#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Files.h"

namespace vorlan::platform {

// An open descriptor of a File. Write sharing is enforced with flock, which
// works between separate opens in one process as well as between processes:
// writers that deny writing hold the exclusive lock, other writers and
// readers that deny writing hold the shared one.
class FileBackend {
public:
    ~FileBackend();
    static std::unique_ptr<FileBackend> Open(const std::string& path, File::Mode mode, bool denyWrite);

    bool Write(const void* data, std::size_t length);
    std::int64_t Read(void* buffer, std::size_t length);
    bool Seek(std::int64_t offset);
    std::int64_t Size() const;

private:
    explicit FileBackend(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace vorlan::platform
