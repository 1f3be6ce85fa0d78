#include "transfer/ui/BrowseDialog.h"

#include <cstring>

#include "transfer/ui/TransferDialogIds.h"
#include "transfer/ui/WindowIcons.h"

namespace vorlan::transfer {
namespace {

client::WindowSizeKind SizeKind(WPARAM kind) {
    if (kind == SIZE_MAXIMIZED) return client::WindowSizeKind::Maximized;
    if (kind == SIZE_MINIMIZED) return client::WindowSizeKind::Minimized;
    return client::WindowSizeKind::Restored;
}

void Place(HWND control, const client::ControlRect& rect) {
    MoveWindow(control, rect.x, rect.y, rect.width, rect.height, TRUE);
}

}  // namespace

BrowseDialog::BrowseDialog(HINSTANCE instance, storage::Options& options, const storage::Colors& colors,
                           BrowseOwner& owner, BrowseOwnerKind kind, HWND iconSource)
    : ModelessDialog(instance, IDD_BROWSE),
      options_(options),
      colors_(colors),
      owner_(owner),
      kind_(kind),
      iconSource_(iconSource),
      menuOwner_(options) {}

BrowseDialog::~BrowseDialog() {
    if (contextMenu_ != nullptr) DestroyMenu(contextMenu_);
}

void BrowseDialog::Open(const std::string& startFolder, const std::string& offeredName) {
    offeredName_ = offeredName;
    if (!IsOpen()) {
        startFolder_ = startFolder;
        if (!CreateModeless(instance(), IDD_BROWSE, nullptr)) return;
    }
    if (options_.browseMaximized) {
        ShowWindow(handle(), SW_SHOWMAXIMIZED);
    } else {
        ShowWindow(handle(), IsIconic(handle()) ? SW_RESTORE : SW_SHOWNORMAL);
    }
    SetForegroundWindow(handle());
}

INT_PTR BrowseDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: OnInit(); return TRUE;
        case WM_SIZE: OnSize(wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kBrowseMinTrackWidth, kBrowseMinTrackHeight};
            return TRUE;
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU: {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (lParam == -1) GetCursorPos(&at);
            ShowContextMenu(at);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_BROWSE_PATH) {
                if (!settingPath_) Fill();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) break;
            if (HIWORD(wParam) == BN_CLICKED && OnButton(LOWORD(wParam))) return TRUE;
            break;
        case WM_NCDESTROY:
            initialised_ = false;
            tree_.Attach(nullptr, 0, 0);
            return FALSE;
        default: break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void BrowseDialog::OnInit() {
    menuOwner_.SetWindow(handle());
    CopyWindowIcons(iconSource_, handle());
    path_.Attach(GetDlgItem(handle(), IDC_BROWSE_PATH), menuOwner_, conversation::ChatTextColoursFrom(colors_));
    tree_.Attach(GetDlgItem(handle(), IDC_BROWSE_TREE),
                 storage::ColourOf(colors_, storage::ColourIndex::TreeBackground),
                 storage::ColourOf(colors_, storage::ColourIndex::TreeText));
    ApplyStoredSize();
    if (contextMenu_ == nullptr) contextMenu_ = LoadMenuA(instance(), MAKEINTRESOURCEA(IDR_BROWSE_MENU));
    SetPath(startFolder_);
    initialised_ = true;
}

// The stored size at the window's place; a window that opens maximized is
// centred first, so that it restores to the middle of the screen.
void BrowseDialog::ApplyStoredSize() {
    RECT frame{};
    GetWindowRect(handle(), &frame);
    const int width = options_.browseWidth > 0 ? options_.browseWidth : frame.right - frame.left;
    const int height = options_.browseHeight > 0 ? options_.browseHeight : frame.bottom - frame.top;
    int left = frame.left;
    int top = frame.top;
    if (options_.browseMaximized) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        left = work.left + (work.right - work.left - width) / 2;
        top = work.top + (work.bottom - work.top - height) / 2;
    }
    SetWindowPos(handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void BrowseDialog::OnSize(WPARAM kind, int width, int height) {
    if (kind == SIZE_MAXSHOW || kind == SIZE_MAXHIDE || kind == SIZE_MINIMIZED) return;
    if (initialised_) {
        RECT outer{};
        GetWindowRect(handle(), &outer);
        RememberBrowseSize(options_, SizeKind(kind), outer.right - outer.left, outer.bottom - outer.top);
    }
    const BrowseLayout layout = BrowseLayoutFor(width, height);
    Place(path_.handle(), layout.path);
    Place(GetDlgItem(handle(), IDC_BROWSE_UP), layout.up);
    Place(tree_.handle(), layout.tree);
    Place(GetDlgItem(handle(), IDC_BROWSE_USE), layout.use);
    Place(GetDlgItem(handle(), IDC_BROWSE_CANCEL), layout.cancel);
}

INT_PTR BrowseDialog::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != tree_.handle()) return FALSE;
    if (header.code == NM_DBLCLK) {
        Activate(tree_.IdAtCursor(true));
        SetWindowLongPtrA(handle(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    if (header.code == TVN_KEYDOWN && reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_RETURN) {
        Activate(tree_.SelectedId());
        return TRUE;
    }
    if (std::optional<LRESULT> drawn = tree_.HandleNotify(header)) {
        SetWindowLongPtrA(handle(), DWLP_MSGRESULT, *drawn);
        return TRUE;
    }
    return FALSE;
}

bool BrowseDialog::OnButton(int id) {
    if (menuOwner_.HandleCommand(id)) return true;
    switch (id) {
        case IDC_BROWSE_UP: Up(); return true;
        case IDC_BROWSE_USE: UseAddress(); return true;
        case IDC_BROWSE_CANCEL: Close(); return true;
        case ID_BROWSE_REFRESH: Fill(); return true;
        default: return false;
    }
}

void BrowseDialog::ShowContextMenu(POINT at) {
    HMENU menu = contextMenu_ != nullptr ? GetSubMenu(contextMenu_, 0) : nullptr;
    if (menu == nullptr) return;
    const auto command = static_cast<int>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, handle(), nullptr));
    if (command == ID_BROWSE_REFRESH && IsOpen()) Fill();
}

// ---- the tree ---------------------------------------------------------------------

void BrowseDialog::SetPath(const std::string& text) {
    settingPath_ = true;
    path_.SetText(text);
    settingPath_ = false;
    Fill();
}

void BrowseDialog::Fill() {
    listedPath_ = BrowsePathOf(path_.Text());
    listing_ = {};
    switch (ListingKindOf(listedPath_)) {
        case BrowseListingKind::Drives: ListDrives(); break;
        case BrowseListingKind::Folder: ListFolder(listedPath_); break;
        case BrowseListingKind::None: break;
    }
    ShowListing();
}

void BrowseDialog::ListDrives() {
    char drives[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof(drives) - 1, drives);
    if (length == 0 || length >= sizeof(drives)) return;
    for (const char* drive = drives; *drive != '\0'; drive += std::strlen(drive) + 1) {
        listing_.folders.emplace_back(drive);
    }
}

void BrowseDialog::ListFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((path + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        auto& list = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? listing_.folders : listing_.files;
        list.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    TidyListing(listing_);
}

void BrowseDialog::ShowListing() {
    if (tree_.handle() == nullptr) return;
    SendMessageA(tree_.handle(), WM_SETREDRAW, FALSE, 0);
    tree_.Clear();
    // Headings as the user tree's group rows; folders (colour 19) and files (colour 20) apart.
    const std::uint32_t headingColour = storage::ColourOf(colors_, storage::ColourIndex::TreeText);
    const std::uint32_t folderColour = storage::ColourOf(colors_, storage::ColourIndex::BrowseTreeBackground);
    const std::uint32_t fileColour = storage::ColourOf(colors_, storage::ColourIndex::BrowseTreeText);
    int index = 0;
    if (!listing_.folders.empty()) {
        tree_.Insert(kDirectoriesHeading, std::nullopt, "Directories", headingColour);
        for (const std::string& name : listing_.folders) tree_.Insert(index++, kDirectoriesHeading, name, folderColour);
        tree_.Expand(kDirectoriesHeading);
    }
    if (!listing_.files.empty()) {
        tree_.Insert(kFilesHeading, std::nullopt, "Files", headingColour);
        for (const std::string& name : listing_.files) tree_.Insert(index++, kFilesHeading, name, fileColour);
        tree_.Expand(kFilesHeading);
    }
    SendMessageA(tree_.handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_.handle(), nullptr, TRUE);
}

// ---- the buttons --------------------------------------------------------------------

void BrowseDialog::Up() {
    if (std::optional<std::string> parent = BrowseUp(BrowsePathOf(path_.Text()))) SetPath(*parent);
}

void BrowseDialog::Activate(std::optional<int> id) {
    if (!id || *id < 0) return;
    const auto index = static_cast<std::size_t>(*id);
    if (index < listing_.folders.size()) {
        SetPath(OpenedFolder(listedPath_, listing_.folders[index]));
    } else if (index < listing_.folders.size() + listing_.files.size()) {
        UseAddress();
    }
}

void BrowseDialog::UseAddress() {
    const BrowseChoice choice = ChooseInBrowse(listedPath_, listing_, tree_.SelectedId(), kind_, offeredName_);
    Close();
    owner_.TakeBrowseChoice(choice);
}

}  // namespace vorlan::transfer
