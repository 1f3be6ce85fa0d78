#include "platform/Files.h"

#include "platform/posix/FileBackend.h"

namespace vorlan::platform {

File::File() = default;

File::~File() = default;

bool File::Open(const std::string& path, Mode mode, bool denyWrite) {
    Close();
    backend_ = FileBackend::Open(path, mode, denyWrite);
    return backend_ != nullptr;
}

bool File::IsOpen() const { return backend_ != nullptr; }

void File::Close() { backend_.reset(); }

bool File::Write(const void* data, std::size_t length) { return backend_ && backend_->Write(data, length); }

std::int64_t File::Read(void* buffer, std::size_t length) { return backend_ ? backend_->Read(buffer, length) : -1; }

bool File::Seek(std::int64_t offset) { return backend_ && backend_->Seek(offset); }

std::int64_t File::Size() const { return backend_ ? backend_->Size() : -1; }

}  // namespace vorlan::platform
