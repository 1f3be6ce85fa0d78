#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "client/AdminLists.h"
#include "ui/ModelessDialog.h"
#include "ui/TreeControl.h"

namespace vorlan::client {

class ClientSession;

// What the admin's "Connections" and "Ban list" windows share: a sizable
// window with one tree (1029) kept 20 pixels from every edge, its size and
// maximized flag remembered in the options, a context menu, and rows put into
// the tree a batch at a time. A full ban list is 50000 rows from one reply:
// inserting them in one go would freeze the program, so rows wait in a queue
// that a short timer drains, each batch with the tree's redrawing held and
// sized so that the main window and the chat keep their turn between batches.
class AdminListWindow : public ui::ModelessDialog {
public:
    AdminListWindow(HINSTANCE instance, ClientSession& session, AdminWindow which, int templateId, int menuId);
    ~AdminListWindow() override;

    // The main window's icons, for the caption and the task bar button.
    void SetWindowIcons(HICON small, HICON large) {
        smallIcon_ = small;
        largeIcon_ = large;
    }
    // "Show connections" / "Show ban list": creates the window, or shows it
    // again, maximized when its stored flag says so and otherwise normally, and
    // brings it to the front.
    void ShowList();

protected:
    struct Row {
        int id = 0;
        std::optional<int> parent;  // none: the top level
        std::optional<int> before;  // a sibling to go before; none: the end
        std::string label;
        std::uint32_t colour = 0;
        bool expand = false;  // a group row that shows its children
    };

    ClientSession& session() const { return session_; }
    // Rows keep their order; a row for an id already shown replaces it.
    void QueueRow(Row row);
    // Empties the tree and drops the rows not yet shown.
    void ClearTree();
    bool initialised() const { return initialised_; }

    // The window's request once it is set up ("18" or "19").
    virtual void SendOpeningRequest() = 0;
    // Inserts the entries for the row `rowId` (none: no row selected) into
    // the context menu before it shows, and removes them afterwards.
    virtual void AddRowEntries(HMENU menu, std::optional<int> rowId) = 0;
    virtual void RemoveRowEntries(HMENU menu) = 0;
    // A context menu command, for the row that was selected when the menu
    // opened; false for commands of others.
    virtual bool OnListCommand(int command, std::optional<int> rowId) = 0;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void ApplyStoredSize();
    void OnSize(WPARAM kind, int clientWidth, int clientHeight);
    void ShowContextMenu(std::optional<int> rowId, POINT at);
    INT_PTR OnNotify(const NMHDR& header);
    bool ReplaceTree();
    void OnTimer();
    void FillBatch();
    void EmptyRetiredTree();
    void StartTimer();
    void StopTimer();
    void OnClosed();

    ClientSession& session_;
    AdminWindow which_;
    int templateId_;
    int menuId_;
    HICON smallIcon_ = nullptr;
    HICON largeIcon_ = nullptr;
    HMENU menuResource_ = nullptr;
    bool initialised_ = false;
    ui::TreeControl tree_;
    std::vector<Row> pending_;
    std::size_t next_ = 0;         // the first row of pending_ not yet in the tree
    std::size_t batchSize_ = 256;  // rows in the next batch, by what the last one cost
    std::vector<int> expandable_;
    std::vector<HWND> retired_;  // hidden trees of earlier lists, still being emptied
    bool timerRunning_ = false;
};

}  // namespace vorlan::client
