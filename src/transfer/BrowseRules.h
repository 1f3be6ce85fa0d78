#pragma once

#include <optional>
#include <string>
#include <vector>

#include "client/ControlRect.h"
#include "client/PrivateWindowGeometry.h"
#include "storage/Records.h"

// The "Browse" dialog's rules without its window: what the path field means,
// where "up" and a double click lead, what "use address" writes back into the
// dialog that opened it, where the controls go and which size is remembered.
namespace vorlan::transfer {

// Who opened the dialog, and so which field receives the choice.
enum class BrowseOwnerKind { Options = 0, SendFile = 1, ReceiveFile = 2 };

// The integers of the tree's two headings; entries carry their index in the
// combined list (folders first, then files).
inline constexpr int kDirectoriesHeading = -2;
inline constexpr int kFilesHeading = -1;

// The smallest outer size the dialog can be dragged to.
inline constexpr int kBrowseMinTrackWidth = 250;
inline constexpr int kBrowseMinTrackHeight = 200;

// The path the field's text names: every "/" becomes "\".
std::string BrowsePathOf(const std::string& fieldText);
// A drive root such as "C:\".
bool IsDriveRoot(const std::string& path);

enum class BrowseListingKind {
    Drives,  // the empty path
    Folder,  // a path ending in "\" (the folder must also exist)
    None,    // anything else: an empty tree
};
BrowseListingKind ListingKindOf(const std::string& path);

// One folder's entries, or the drive list (drives count as folders).
struct BrowseListing {
    std::vector<std::string> folders;
    std::vector<std::string> files;
};
// Drops "." and ".." and sorts both lists by name without regard to case, so
// that the tree reads the same whatever order the system returned.
void TidyListing(BrowseListing& listing);

// The field text after "up", or nothing when "up" does nothing: a drive root
// goes back to the drive list (empty), a folder to its parent.
std::optional<std::string> BrowseUp(const std::string& path);
// The folder an entry of the listing of `path` names: the drive itself at the
// drive list (path empty), otherwise path + name + "\".
std::string OpenedFolder(const std::string& path, const std::string& name);

// What "use address" writes back: the owner's start folder and its field.
struct BrowseChoice {
    std::string startFolder;
    std::string target;
};
// `selectedId`: the selected tree item (none: nothing selected);
// `offeredName`: the offered file's name, for a "Save file" owner.
BrowseChoice ChooseInBrowse(const std::string& path, const BrowseListing& listing, std::optional<int> selectedId,
                            BrowseOwnerKind kind, const std::string& offeredName);

// The start folder for the options dialog's browser path: its folder with the
// trailing backslash, or empty when the path holds none.
std::string BrowserPathFolder(const std::string& browserPath);

// Where the controls go in a client area of `width` x `height`.
struct BrowseLayout {
    client::ControlRect path;
    client::ControlRect up;
    client::ControlRect tree;
    client::ControlRect use;
    client::ControlRect cancel;
};
BrowseLayout BrowseLayoutFor(int width, int height);

// A size change of the initialised dialog: maximizing sets the flag; any other
// change except minimizing clears it and stores the outer size.
void RememberBrowseSize(storage::Options& options, client::WindowSizeKind kind, int outerWidth, int outerHeight);

}  // namespace vorlan::transfer
