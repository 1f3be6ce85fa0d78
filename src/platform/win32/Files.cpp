#include "platform/Files.h"

#include <limits>
#include <vector>

#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

namespace {

DWORD AttributesOf(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return INVALID_FILE_ATTRIBUTES;
    }
    return GetFileAttributesA(path.c_str());
}

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t kLargestPiece = 1u << 30;

}  // namespace

bool FileExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFullPath(const std::string& path) { return path.size() >= 3 && path[1] == ':' && path[2] == '\\'; }

bool CreateFolder(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    return CreateDirectoryA(path.c_str(), nullptr) != 0 || DirectoryExists(path);
}

bool RemoveFile(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    return DeleteFileA(path.c_str()) != 0;
}

bool MoveFileOver(const std::string& source, const std::string& target) {
    if (source.empty() || target.empty() || source.find('\0') != std::string::npos ||
        target.find('\0') != std::string::npos) {
        return false;
    }
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string ExecutableFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            const std::string full(path.data(), length);
            const auto separator = full.find_last_of('\\');
            return separator == std::string::npos ? std::string() : full.substr(0, separator);
        }
        path.resize(path.size() * 2);  // truncated: ask again with more room
    }
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    File file;
    if (!file.Open(path, File::Mode::Read)) {
        return false;
    }
    std::string data;
    const std::int64_t size = file.Size();
    if (size > 0 && static_cast<std::uint64_t>(size) < data.max_size()) {
        data.reserve(static_cast<std::size_t>(size));
    }
    char buffer[64 * 1024];
    for (;;) {
        const std::int64_t read = file.Read(buffer, sizeof buffer);
        if (read < 0) {
            return false;
        }
        if (read == 0) {
            break;
        }
        data.append(buffer, static_cast<std::size_t>(read));
    }
    contents = std::move(data);
    return true;
}

class FileBackend {
public:
    ~FileBackend() { Close(); }

    bool Open(const std::string& path, File::Mode mode, bool denyWrite) {
        if (path.empty() || path.find('\0') != std::string::npos) {
            return false;
        }
        const DWORD share = denyWrite ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
        handle_ = CreateFileA(path.c_str(), AccessFor(mode), share, nullptr, DispositionFor(mode),
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        append_ = mode == File::Mode::Append;
        return IsOpen();
    }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    void Close() {
        if (IsOpen()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

    bool Write(const void* data, std::size_t length) {
        if (!IsOpen() || (data == nullptr && length > 0)) {
            return false;
        }
        if (append_ && !SetFilePointerEx(handle_, LARGE_INTEGER{}, nullptr, FILE_END)) {
            return false;
        }
        const char* next = static_cast<const char*>(data);
        while (length > 0) {
            const DWORD piece = static_cast<DWORD>(std::min(length, kLargestPiece));
            DWORD written = 0;
            if (!WriteFile(handle_, next, piece, &written, nullptr) || written == 0) {
                return false;
            }
            next += written;
            length -= written;
        }
        return true;
    }

    std::int64_t Read(void* buffer, std::size_t length) {
        if (!IsOpen() || (buffer == nullptr && length > 0)) {
            return -1;
        }
        DWORD read = 0;
        const DWORD piece = static_cast<DWORD>(std::min(length, kLargestPiece));
        if (!ReadFile(handle_, buffer, piece, &read, nullptr)) {
            return -1;
        }
        return read;
    }

    bool Seek(std::int64_t offset) {
        if (!IsOpen() || offset < 0) {
            return false;
        }
        LARGE_INTEGER position;
        position.QuadPart = offset;
        return SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) != 0;
    }

    std::int64_t Size() const {
        LARGE_INTEGER size;
        if (!IsOpen() || !GetFileSizeEx(handle_, &size)) {
            return -1;
        }
        return size.QuadPart;
    }

private:
    static DWORD AccessFor(File::Mode mode) {
        switch (mode) {
            case File::Mode::Read: return GENERIC_READ;
            case File::Mode::Truncate:
            case File::Mode::Append: return GENERIC_WRITE;
            case File::Mode::Update: return GENERIC_READ | GENERIC_WRITE;
        }
        return 0;
    }

    static DWORD DispositionFor(File::Mode mode) {
        switch (mode) {
            case File::Mode::Truncate: return CREATE_ALWAYS;
            case File::Mode::Append: return OPEN_ALWAYS;
            case File::Mode::Read:
            case File::Mode::Update: return OPEN_EXISTING;
        }
        return OPEN_EXISTING;
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool append_ = false;
};

File::File() : backend_(std::make_unique<FileBackend>()) {}

File::~File() = default;

bool File::Open(const std::string& path, Mode mode, bool denyWrite) {
    backend_->Close();
    return backend_->Open(path, mode, denyWrite);
}

bool File::IsOpen() const { return backend_->IsOpen(); }

void File::Close() { backend_->Close(); }

bool File::Write(const void* data, std::size_t length) { return backend_->Write(data, length); }

std::int64_t File::Read(void* buffer, std::size_t length) { return backend_->Read(buffer, length); }

bool File::Seek(std::int64_t offset) { return backend_->Seek(offset); }

std::int64_t File::Size() const { return backend_->Size(); }

}  // namespace vorlan::platform
