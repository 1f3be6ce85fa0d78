#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The driver's subcommands. Each one takes its words (command first) and
// appends what it prints to `out`; on failure `out` holds the reason.
class Driver {
public:
    bool Run(std::vector<std::string> words, std::string& out);

private:
    bool Dispatch(const std::string& command, const std::vector<std::string>& args, std::string& out);
    bool Window(const std::string& caption, HWND& window, std::string& out);
    bool ControlOf(const std::string& caption, const std::string& id, HWND& window, HWND& control, std::string& out);

    bool Launch(const std::vector<std::string>& args, std::string& out);
    bool WaitWindow(const std::vector<std::string>& args, std::string& out);
    bool WaitGone(const std::vector<std::string>& args, std::string& out);
    bool Exists(const std::vector<std::string>& args, std::string& out);
    bool HasControl(const std::vector<std::string>& args, std::string& out);
    bool SetText(const std::vector<std::string>& args, std::string& out);
    bool Press(const std::vector<std::string>& args, std::string& out);
    bool Click(const std::vector<std::string>& args, std::string& out);
    bool Key(const std::vector<std::string>& args, std::string& out);
    bool TypeChars(const std::vector<std::string>& args, std::string& out);
    bool EndSession(const std::vector<std::string>& args, std::string& out);
    bool Menu(const std::vector<std::string>& args, std::string& out);
    bool MenuItem(const std::vector<std::string>& args, std::string& out);
    bool GetText(const std::vector<std::string>& args, std::string& out);
    bool GetCheck(const std::vector<std::string>& args, std::string& out);
    bool TreeItems(const std::vector<std::string>& args, std::string& out);
    bool TreeSelect(const std::vector<std::string>& args, std::string& out, bool doubleClick);
    bool Close(const std::vector<std::string>& args, std::string& out, bool systemCommand);
    bool IsVisible(const std::vector<std::string>& args, std::string& out);
    bool ListWindows(std::string& out);
    bool Foreground(std::string& out);
    bool Activate(const std::vector<std::string>& args, std::string& out);
    bool Children(const std::vector<std::string>& args, std::string& out);
    bool Move(const std::vector<std::string>& args, std::string& out);
    bool Resize(const std::vector<std::string>& args, std::string& out);
    bool SysCommand(const std::vector<std::string>& args, std::string& out);
    bool Rect(const std::vector<std::string>& args, std::string& out);
    bool WaitExit(const std::vector<std::string>& args, std::string& out);
    bool HasResource(const std::vector<std::string>& args, std::string& out);
    bool Kill(const std::vector<std::string>& args, std::string& out);

    DWORD pid_ = 0;
    bool withMenu_ = false;
    DWORD waitMs_ = 3000;
};
