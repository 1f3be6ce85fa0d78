#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The in-memory form of the settings and list files kept beside the executable.
// Readers and writers are in the *File.h headers of this folder.
namespace vorlan::storage {

// "options.vr": 49 lines, in this order.
struct Options {
    bool checkForNewVersion = false;           // 1
    bool startServer = false;                  // 2
    bool connectToHost = false;                // 3
    std::string host;                          // 4
    bool reconnect = true;                     // 5
    bool enablePopup = true;                   // 6
    bool enablePopupSound = false;             // 7
    bool mainChatLogging = true;               // 8
    bool messageSound = false;                 // 9
    bool privateChatLogging = true;            // 10
    bool timestamps = true;                    // 11
    bool openLinksOnClick = false;             // 12
    bool closeWhenComplete = false;            // 13
    bool useSpecifiedBrowser = false;          // 14
    std::string browserPath;                   // 15
    bool useInternetExplorer = true;           // 16
    int chatPort = 0;                          // 17
    std::string mainServer1;                   // 18
    std::string mainServer2;                   // 19
    int mainWidth = 760;                       // 20
    int mainHeight = 560;                      // 21
    int serversPaneHeight = 80;                // 22
    int userPaneWidth = 160;                   // 23
    bool mainMaximized = false;                // 24
    int privateWidth = 480;                    // 25
    int privateHeight = 360;                   // 26
    bool privateMaximized = false;             // 27
    int connectionsWidth = 520;                // 28
    int connectionsHeight = 360;               // 29
    bool connectionsMaximized = false;         // 30
    int banListWidth = 520;                    // 31
    int banListHeight = 360;                   // 32
    bool banListMaximized = false;             // 33
    int browseWidth = 480;                     // 34
    int browseHeight = 400;                    // 35
    bool browseMaximized = false;              // 36
    std::string serverAddress;                 // 37
    std::string sendBufferSizeText = "64 KB";  // 38
    bool sendModeClient = false;               // 39
    bool sendModeServer = false;               // 40
    std::string sendPortRange = "0";           // 41
    std::string lastSendFolder;                // 42
    std::string receivePortRange = "0";        // 43
    std::string lastSaveFolder;                // 44
    std::string topic;                         // 45
    std::string clientPassword;                // 46
    std::string superAdminPassword;            // 47
    std::string normalAdminPassword;           // 48
    std::string normalUserPassword;            // 49
};

// The chat port used when line 17 is missing, empty or 0.
inline constexpr int kDefaultChatPort = 5555;

// The chat port of these options: line 17 when it is a port, else the default.
inline std::uint16_t ChatPortOf(const Options& options) {
    const bool valid = options.chatPort > 0 && options.chatPort <= 65535;
    return static_cast<std::uint16_t>(valid ? options.chatPort : kDefaultChatPort);
}

// "colors.vr": 27 colours, each red + 256*green + 65536*blue; colour k is index k-1.
using Colors = std::array<std::uint32_t, 27>;

// The colours by what they colour (the value is the line of "colors.vr").
enum class ColourIndex : int {
    Label = 1,
    TextBackground = 2,   // every chat text control
    TextDefault = 3,      // every chat text control
    Notice = 4,           // the program's notices
    Text = 5,             // time prefixes and chat text
    Message = 6,          // highlighted words in the client's lines
    TreeBackground = 7,
    CurrentServer = 8,    // the current server in the servers tree
    TreeText = 9,
    TreeSelection = 10,
    TreeFocus = 11,
    Host = 13,            // 13..16: users by level
    SuperAdmin = 14,
    NormalAdmin = 15,
    NormalUser = 16,
    BrowseTreeBackground = 19,
    BrowseTreeText = 20,
    ButtonText = 23,      // check box, radio and flat button text
    ButtonTextHot = 24,
    FocusRectangle = 25,
    PushButtonText = 26,
    PushButtonTextFocused = 27,
};

inline std::uint32_t ColourOf(const Colors& colors, ColourIndex k) {
    return colors[static_cast<std::size_t>(static_cast<int>(k) - 1)];
}

// "profile.vr": 8 text lines.
struct Profile {
    std::string name;  // at most 20 characters
    std::string email;
    std::string country;
    std::string homePage;
    std::string interests;
    std::string gender;
    std::string birthday;
    std::string pictureUrl;  // the others at most 200
};

// One line of "banlist.vr" and one entry of the server's ban list.
struct BanEntry {
    int banId = 0;            // 0..49999
    std::string address;      // at most 200 characters
    std::string description;  // at most 200 characters
};

// One line of "recentservers.vr".
struct RecentServerRecord {
    std::string timeText;
    std::string address;  // at most 200 characters
    std::string note;     // at most 1000 characters
};

}  // namespace vorlan::storage
