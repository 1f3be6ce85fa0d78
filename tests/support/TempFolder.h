#pragma once

#include <filesystem>
#include <string>

namespace vorlan::test {

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // `name` inside the folder, as a string for the program's file calls.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path_;
};

}  // namespace vorlan::test
