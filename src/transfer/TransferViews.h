#pragma once

#include <memory>
#include <string>

// Everything the file transfers ask of windows, and what a window's user can
// do to a transfer. The transfer core (FileTransfers) decides every text,
// button label and state; a window implementing one of these only shows it.
//
// Ownership and calls:
// - The core creates each window through TransferWindowFactory, passing the
//   control the window reports its user's actions to, and owns the returned
//   view: destroying the view destroys the window.
// - A call from a window into its control may close that window. The core
//   never destroys a view during such a call: it hides nothing and frees the
//   view from the event loop soon after, so the window's handler may finish
//   normally (it should not call its control again after a closing action).
// - Texts are 8-bit, as everywhere.
namespace vorlan::transfer {

// ---- "Open file" (dialog 152) ------------------------------------------------

// What the user can do in the send dialog.
class SendFileDialogControl {
public:
    virtual ~SendFileDialogControl() = default;
    // "refresh file" and every change of "File address:": the core reads the
    // field and shows the size (or why there is none) and the caption.
    virtual void RefreshFile() = 0;
    // "send": the core reads the fields; it either leaves the dialog open
    // (possibly moving the focus to "File address:") or closes it and opens
    // the send window.
    virtual void Send() = 0;
    // "cancel" and the close box: the dialog closes.
    virtual void Cancel() = 0;
};

class SendFileDialogView {
public:
    virtual ~SendFileDialogView() = default;                  // destroys the window (and its browse dialog)
    virtual void SetCaption(const std::string& caption) = 0;  // "Open file" or "Open file - " + name
    virtual void SetToUser(const std::string& name) = 0;      // "To user:"
    virtual void SetFileSize(const std::string& text) = 0;    // "File size:" (may be empty)
    virtual void SetBufferSize(const std::string& text) = 0;  // "Buffer size:"
    virtual void SetPortRange(const std::string& text) = 0;   // "Port range:"
    // The two check buttons after "Send mode:" (at most one is set). The
    // "Port range:" row shows only while "Server" is checked; the window keeps
    // that rule itself when the user toggles the mode (26 pixels of height).
    virtual void SetSendMode(bool client, bool server) = 0;
    virtual void SetFileAddress(const std::string& path) = 0;  // "File address:"
    // Where the browse dialog ("...") starts.
    virtual void SetStartFolder(const std::string& folder) = 0;
    virtual void FocusFileAddress() = 0;
    virtual void Show() = 0;

    // What the user typed and chose, read when the core needs it.
    virtual std::string BufferSizeText() const = 0;
    virtual std::string PortRangeText() const = 0;
    virtual std::string FileAddressText() const = 0;
    virtual bool IsClientChecked() const = 0;
    virtual bool IsServerChecked() const = 0;
};

// ---- "Save file - name" (dialog 153) --------------------------------------------

class ReceiveFileDialogControl {
public:
    virtual ~ReceiveFileDialogControl() = default;
    // "accept": the core reads "Save to:" (and "Port range:"); it may open the
    // file-exists dialog, move the focus back to "Save to:", or close this
    // dialog and open the receive window.
    virtual void Accept() = 0;
    // "cancel" and the close box: the offer is refused and the dialog closes.
    virtual void Cancel() = 0;
};

class ReceiveFileDialogView {
public:
    virtual ~ReceiveFileDialogView() = default;                // destroys the window (and its browse dialog)
    virtual void SetCaption(const std::string& caption) = 0;   // "Save file - " + offered name
    virtual void SetFromUser(const std::string& name) = 0;     // "From user:"
    virtual void SetReceiveMode(const std::string& text) = 0;  // "Receive mode:": "Server" or "Client"
    virtual void SetFileSize(const std::string& text) = 0;     // "File size:"
    // "Port range:" row: shown with `text` when `visible`, else hidden and the
    // dialog 26 pixels shorter.
    virtual void SetPortRange(const std::string& text, bool visible) = 0;
    virtual void SetSaveTo(const std::string& path) = 0;         // "Save to:"
    virtual void SetStartFolder(const std::string& folder) = 0;  // where "..." starts
    virtual void FocusSaveTo() = 0;
    // Shown minimised without activation (SW_SHOWMINNOACTIVE), flashed once.
    virtual void ShowMinimisedAndFlash() = 0;

    virtual std::string SaveToText() const = 0;
    virtual std::string PortRangeText() const = 0;
};

// ---- "Save file" / "File already exists." (dialog 154) ---------------------------

class FileExistsControl {
public:
    virtual ~FileExistsControl() = default;
    virtual void Overwrite() = 0;
    virtual void Resume() = 0;
    virtual void Cancel() = 0;  // also the close box: only this dialog closes
};

class FileExistsDialogView {
public:
    virtual ~FileExistsDialogView() = default;  // destroys the window
    // Shows the dialog, or restores it and brings it to the front when it is open.
    virtual void ShowInFront() = 0;
};

// ---- transfer windows (dialogs 155 "send" and 156 "receive") -----------------------

// What the user can do in a send or receive window. Button texts are set by
// the core (SetMiddleButton / SetThirdButton); a press is reported by
// position, and the core acts on what the button reads.
class TransferWindowControl {
public:
    virtual ~TransferWindowControl() = default;
    // "go to location": the core asks TransferWindowFactory::OpenWithShell.
    virtual void GoToLocation() = 0;
    // Send window: "open file". Receive window: "pause" (closes the window,
    // the partial file stays) or "open file".
    virtual void MiddleButton() = 0;
    // Send window: "cancel" / "close". Receive window: "delete file" (closes
    // the window and deletes the file) or "close".
    virtual void ThirdButton() = 0;
    // The close box: the window closes (the peer is told when it still waits).
    virtual void CloseBox() = 0;
};

class TransferWindowView {
public:
    virtual ~TransferWindowView() = default;  // destroys the window and its icons
    // Caption: "(p%) name - send" / "(p%) name - receive", or "name - send"
    // before the first percentage. Set only when it changes.
    virtual void SetCaption(const std::string& caption) = 0;
    // The shell's small and large icons for this file name's extension (the
    // whole name when it has no ".").
    virtual void SetIconsFor(const std::string& fileName) = 0;
    virtual void SetStatus(const std::string& text) = 0;        // "Status:"
    virtual void SetFileName(const std::string& text) = 0;      // "File name:"
    virtual void SetFileLocation(const std::string& text) = 0;  // "File location:" (folder with trailing "\")
    virtual void SetProgress(int percent) = 0;                  // progress bar 0..100
    virtual void SetSpeed(const std::string& text) = 0;         // "Speed:" e.g. "1.50 KB/s"
    virtual void SetDone(const std::string& text) = 0;          // "Sent:" or "Received:"
    virtual void SetTotal(const std::string& text) = 0;         // "Total:"
    // The middle button: "open file" on a send window; "pause" then "open file"
    // on a receive window.
    virtual void SetMiddleButton(const std::string& text) = 0;
    // The third button: "cancel" then "close" (send); "delete file" or "close" (receive).
    virtual void SetThirdButton(const std::string& text) = 0;
    virtual void Show() = 0;
};

// ---- the factory the user interface implements ------------------------------------

class TransferWindowFactory {
public:
    virtual ~TransferWindowFactory() = default;
    // New, not yet shown windows with the desktop as parent.
    virtual std::unique_ptr<SendFileDialogView> CreateSendFileDialog(SendFileDialogControl& control) = 0;
    virtual std::unique_ptr<ReceiveFileDialogView> CreateReceiveFileDialog(ReceiveFileDialogControl& control) = 0;
    virtual std::unique_ptr<FileExistsDialogView> CreateFileExistsDialog(FileExistsControl& control) = 0;
    virtual std::unique_ptr<TransferWindowView> CreateSendWindow(TransferWindowControl& control) = 0;
    virtual std::unique_ptr<TransferWindowView> CreateReceiveWindow(TransferWindowControl& control) = 0;
    // Opens a folder or a file with the shell (verb "open", shown normally).
    virtual void OpenWithShell(const std::string& path) = 0;
};

// ---- what the transfers ask of the rest of the program ----------------------------

// The main chat view and log, for the few lines transfers write there.
class TransferNotices {
public:
    virtual ~TransferNotices() = default;
    // A notice line: "\n\t" time prefix, `text` in the notice colour; the log
    // gets "\r\n\t[" time "] " text. Used for "Maximum number of file sending
    // windows has been reached.".
    virtual void Notice(const std::string& text) = 0;
    // `label` is "File sent:" or "File received:": "\n\t" time prefix, label in
    // the notice colour, " " + path in the text colour; the log gets
    // "\r\n\t[" time "] " label " " path.
    virtual void FileDone(const std::string& label, const std::string& path) = 0;
};

}  // namespace vorlan::transfer
