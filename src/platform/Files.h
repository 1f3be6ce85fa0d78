#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vorlan::platform {

// Paths are written the Windows way ("C:\\Vorlan\\Chat logs\\mainchat.txt");
// the POSIX backend turns backslashes into slashes.

bool FileExists(const std::string& path);       // exists and is not a folder
bool DirectoryExists(const std::string& path);  // exists and is a folder
// A full path of this system, not relative to any current folder: a drive
// ("C:\\...") on Windows, a leading separator on POSIX.
bool IsFullPath(const std::string& path);
bool CreateFolder(const std::string& path);     // one level; true if it exists afterwards
bool RemoveFile(const std::string& path);
// Replaces `target` by `source` in one step, so that a reader never sees a half file.
bool MoveFileOver(const std::string& source, const std::string& target);
// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();

// A whole file as bytes; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& contents);

class FileBackend;

class File {
public:
    enum class Mode {
        Read,      // existing file, read only
        Truncate,  // create or empty, write
        Append,    // create if missing, writes go to the end
        Update,    // existing file, read and write at any position
    };

    File();
    ~File();  // closes
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // `denyWrite`: while open, no other opener may write to the file (a second
    // such open of the same file, in this or another process, fails).
    bool Open(const std::string& path, Mode mode, bool denyWrite = false);
    bool IsOpen() const;
    void Close();

    bool Write(const void* data, std::size_t length);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Bytes read, 0 at the end, -1 on error.
    std::int64_t Read(void* buffer, std::size_t length);
    bool Seek(std::int64_t offset);  // from the start
    std::int64_t Size() const;       // -1 on error

private:
    std::unique_ptr<FileBackend> backend_;
};

}  // namespace vorlan::platform
