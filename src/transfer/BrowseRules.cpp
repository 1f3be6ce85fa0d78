#include "transfer/BrowseRules.h"

#include <algorithm>
#include <cctype>

namespace vorlan::transfer {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

void TidyNames(std::vector<std::string>& names) {
    std::erase_if(names, [](const std::string& name) { return name == "." || name == ".." || name.empty(); });
    std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
}

bool EndsWithBackslash(const std::string& path) { return !path.empty() && path.back() == '\\'; }

// The target for a chosen folder: a "Save file" owner gets the offered name in it.
std::string TargetForFolder(const std::string& folder, BrowseOwnerKind kind, const std::string& offeredName) {
    return kind == BrowseOwnerKind::ReceiveFile ? folder + offeredName : folder;
}

}  // namespace

std::string BrowsePathOf(const std::string& fieldText) {
    std::string path = fieldText;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool IsDriveRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }

BrowseListingKind ListingKindOf(const std::string& path) {
    if (path.empty()) return BrowseListingKind::Drives;
    return EndsWithBackslash(path) ? BrowseListingKind::Folder : BrowseListingKind::None;
}

void TidyListing(BrowseListing& listing) {
    TidyNames(listing.folders);
    TidyNames(listing.files);
}

std::optional<std::string> BrowseUp(const std::string& path) {
    if (IsDriveRoot(path)) return std::string();
    if (!EndsWithBackslash(path)) return std::nullopt;
    const std::string withoutLast = path.substr(0, path.size() - 1);
    const std::size_t earlier = withoutLast.rfind('\\');
    if (earlier == std::string::npos) return std::nullopt;
    return withoutLast.substr(0, earlier + 1);
}

std::string OpenedFolder(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + name + "\\";
}

BrowseChoice ChooseInBrowse(const std::string& path, const BrowseListing& listing, std::optional<int> selectedId,
                            BrowseOwnerKind kind, const std::string& offeredName) {
    const int folders = static_cast<int>(listing.folders.size());
    const int files = static_cast<int>(listing.files.size());
    if (selectedId && *selectedId >= 0 && *selectedId < folders) {
        const std::string folder = OpenedFolder(path, listing.folders[static_cast<std::size_t>(*selectedId)]);
        return {folder, TargetForFolder(folder, kind, offeredName)};
    }
    if (selectedId && *selectedId >= folders && *selectedId < folders + files) {
        return {path, path + listing.files[static_cast<std::size_t>(*selectedId - folders)]};
    }
    return {path, TargetForFolder(path, kind, offeredName)};
}

std::string BrowserPathFolder(const std::string& browserPath) {
    const std::string path = BrowsePathOf(browserPath);
    const std::size_t last = path.rfind('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

BrowseLayout BrowseLayoutFor(int width, int height) {
    BrowseLayout layout;
    layout.path = {20, 14, width - 72, 13};
    layout.up = {width - 46, 12, 30, 18};
    layout.tree = {20, 40, width - 40, height - 80};
    layout.use = {16, height - 28, 90, 18};
    layout.cancel = {width - 106, height - 28, 90, 18};
    return layout;
}

void RememberBrowseSize(storage::Options& options, client::WindowSizeKind kind, int outerWidth, int outerHeight) {
    if (kind == client::WindowSizeKind::Minimized) return;
    if (kind == client::WindowSizeKind::Maximized) {
        options.browseMaximized = true;
        return;
    }
    options.browseMaximized = false;
    options.browseWidth = outerWidth;
    options.browseHeight = outerHeight;
}

}  // namespace vorlan::transfer
