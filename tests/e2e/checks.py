"""The end-to-end checks, as data, run in order by e2e.py: each check is a
name, its steps and, optionally, steps that undo what a failed check left open.
A step is a verb (a step_<verb> method of e2e.py, or a driver command on a
window) and its arguments, which often are an instance ("A"), a window ("main"
or a caption; "re:" and a regular expression) and a control id.

Placeholders: <<port>> the chat port of this run; <<id:NAME>> a user's id as
a raw client saw it; <<self:CLIENT>> a raw client's own id. In view patterns
<T> is the time prefix "[hh:mm] "; in file patterns <TS> is the log timestamp
"dd.mm.yyyy hh:mm". Frames and files are matched whole (regular expressions
over bytes, "." matching line breaks); views by search.
"""

S = "\xac"  # SEP
NO_SEP = "[^\xac]*"

# Profile files: name, e-mail, country, home page, interests, gender, birthday, picture URL.
# The SEP in a name is dropped when the file is read, so the rewritten file at
# exit proves that the program read and wrote it.
PROFILE_A = ["Al" + "\xac" + "pha", "alpha@example.org", "Iceland", "", "", "", "", ""]
PROFILE_B = ["Bra" + "\xac" + "vo", "", "", "", "", "", "", ""]

INSTANCE_A = {
    # Hosts the server and connects to it.
    # Line 13, a flag, reads as 0 and is written back as "0".
    "options": {2: 1, 3: 1, 4: "127.0.0.1", 13: "0 (as read)", 17: "<<port>>", 37: "127.0.0.1"},
    "files": {"profile.vr": PROFILE_A, "banlist.vr": [], "recentservers.vr": []},
}
INSTANCE_P = {
    # A client of A's server with pop-ups and their sound on, kept in the tray.
    "options": {2: 0, 3: 1, 4: "127.0.0.1", 6: 1, 7: 1, 17: "<<port>>", 37: "127.0.0.1"},
    "files": {"profile.vr": ["Papa", "", "", "", "", "", "", ""], "recentservers.vr": []},
}
# Alone, in an isolated run: the update check on (line 1) or off; pop-ups off.
INSTANCE_U = {"options": {1: 1, 2: 0, 3: 0}, "files": {"profile.vr": ["Uma"] + [""] * 7}}
INSTANCE_V = {"options": {1: 0, 2: 0, 3: 0}, "files": {"profile.vr": ["Vic"] + [""] * 7}}
UPDATE_NOTICE = "Vorlan1.18 is available for download. Click here for more information."
INSTANCE_B = {
    # A client of A's server; it has no ban list file, which must stay missing.
    "options": {2: 0, 3: 1, 4: "127.0.0.1", 13: "0 (as read)", 17: "<<port>>", 37: "127.0.0.1"},
    "files": {"profile.vr": PROFILE_B, "recentservers.vr": []},
}

PRIVATE_FROM_RAW = r"re:(\[[0-9+]+\] )?Raw( - offline)?"
PRIVATE_FROM_ALPHA = r"re:(\[[0-9+]+\] )?Alpha( - offline)?"
PRIVATE_FROM_POPPER = r"re:(\[[0-9+]+\] )?Popper( - offline)?"
PRIVATE_FROM_BRAVO = r"re:(\[[0-9+]+\] )?Bravo( - offline)?"
MAIN_LOG = "Chat logs/mainchat.txt"
SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE = 0xF030, 0xF020, 0xF120
POPUP = "Vorlan notification"  # the pop-up window's (unshown) caption
WM_KEYDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, TRAY_CALLBACK = 0x100, 0x202, 0x205, 0x203, 0x8001
VK_UP, VK_ESCAPE, VK_RETURN = 0x26, 0x1B, 0x0D
# A pop-up on its way down: the full width and less than the full height.
POPUP_SLIDING_DOWN = r"re:\d+ \d+ 180 ([0-9]|[1-9][0-9]|10[0-9]|11[0-5])\t.*"
MAIN_LAYOUT = {
    1052: "30, 46, cx - 60, P",
    1046: "26, P + 75, cx - U - 62, cy - P - 122",
    1001: "30, cy - 43, cx - U - 70, 13",
    1029: "cx - U - 30, P + 79, U, cy - P - 109",
    1051: "centred",
}


CHECKS = [
    ("A starts, hosts a server on the port of its options and lays its controls out by the stored pane sizes", [
        ("prepare", "A", INSTANCE_A),
        ("launch", "A"),
        ("expect", "A", "main", "is-visible", "visible"),
        ("move", "A", "main", 0, 0),
        ("shot", "A-started"),
        ("wait_listening", "A"),
        ("outer_size", "A", "main", "<<A:20>>", "<<A:21>>"),
        ("layout", "A", MAIN_LAYOUT),
    ]),
    ("A's window lays out again when resized and maximized, and keeps its restored size", [
        ("resize", "A", "main", 900, 650),
        ("outer_size", "A", "main", 900, 650),
        ("layout", "A", MAIN_LAYOUT),
        ("syscommand", "A", "main", SC_MAXIMIZE),
        ("expect", "A", "main", "is-visible", "maximized"),
        ("layout", "A", MAIN_LAYOUT),
        ("shot", "A-maximized"),
        ("syscommand", "A", "main", SC_RESTORE),
        ("expect", "A", "main", "is-visible", "visible"),
        ("outer_size", "A", "main", 900, 650),
    ], [("syscommand", "A", "main", SC_RESTORE)]),
    ("B starts and shows its main window", [
        ("prepare", "B", INSTANCE_B),
        ("launch", "B"),
        ("expect", "B", "main", "is-visible", "visible"),
        ("move", "B", "main", 520, 240),
        ("shot", "A-and-B-started"),
    ]),
    ("a raw client logs in as a normal user and sees A and B", [
        ("raw_login", "raw", "Raw"),
        ("got", "raw", "0[01][0-9]+" + S + "0Alpha.*"),
        ("got", "raw", "0[01][0-9]+" + S + "0Bravo.*"),
        ("got", "raw", "00[0-9]+" + S + "3Raw" + S + "Available1"),
        ("shot", "A-and-B-connected"),
    ]),
    ("main chat logs open with their session start", [
        ("view", "A", "main", r"\A\n\t<T>Chat logging to: mainchat\.txt"),
        ("view", "A", "main", r"\n\t<T>Server started\..*\n\t<T>Connected\."),
        ("view", "B", "main", r"\n\t<T>Connected\..*\n\t<T>Raw has joined the server\."),
        ("file", "A", MAIN_LOG, r"Session start \(<TS>\)\r\n\t\[<TS>\] Server started\..*\r\n\t\[<TS>\] Connected\..*"),
        ("file", "B", MAIN_LOG, r"Session start \(<TS>\)(\r\n.*)?"),
    ]),
    ("a line typed in A reaches B's view, the raw client and A's own view and log", [
        ("type", "A", "main", "Hello from Alpha"),
        ("got", "raw", "04<<id:Alpha>>" + S + "0Hello from Alpha"),
        ("view", "A", "main", r"\n<T>Alpha: Hello from Alpha"),
        ("view", "B", "main", r"\n<T>Alpha: Hello from Alpha"),
        ("file", "A", MAIN_LOG, r"Session start.*\r\n\[<TS>\] Alpha: Hello from Alpha(\r\n.*)?"),
        ("file", "B", MAIN_LOG, r"Session start.*\r\n\[<TS>\] Alpha: Hello from Alpha(\r\n.*)?"),
    ]),
    ("Enter in the input line sends through the hidden default button", [
        ("enter", "A", "main", "Sent with Enter"),
        ("got", "raw", "04<<id:Alpha>>" + S + "0Sent with Enter"),
    ]),
    ("the raw client's line appears in A's and B's views and A's main chat log", [
        ("send", "raw", "020Hello from Raw"),
        ("view", "A", "main", r"\n<T>Raw: Hello from Raw"),
        ("view", "B", "main", r"\n<T>Raw: Hello from Raw"),
        ("file", "A", MAIN_LOG, r"Session start.*\r\n\[<TS>\] Raw: Hello from Raw(\r\n.*)?"),
        ("shot", "chatting"),
    ]),
    ("/me sends an action line", [
        ("type", "A", "main", "/me waves"),
        ("got", "raw", "04<<id:Alpha>>" + S + "1waves"),
        ("view", "A", "main", r"\n\t<T>Alpha waves"),
        ("view", "B", "main", r"\n\t<T>Alpha waves"),
        ("file", "A", MAIN_LOG, r".*\r\n\t\[<TS>\] Alpha waves(\r\n.*)?"),
    ]),
    ("/say sends a says line; /me and /say without text send nothing", [
        ("type", "A", "main", "/say hello all"),
        ("got", "raw", "04<<id:Alpha>>" + S + "2hello all"),
        ("view", "A", "main", r"\n\t<T>Alpha says: hello all"),
        ("view", "B", "main", r"\n\t<T>Alpha says: hello all"),
        ("file", "A", MAIN_LOG, r".*\r\n\t\[<TS>\] Alpha says: hello all(\r\n.*)?"),
        ("type", "A", "main", "/me "),
        ("type", "A", "main", "/say "),
        ("type", "A", "main", "/me"),
        ("got", "raw", "04<<id:Alpha>>" + S + "0/me"),
        ("view_not", "B", "main", r"Alpha says: \n|Alpha \n"),
    ]),
    ("/topic changes the server's topic for everyone", [
        ("type", "A", "main", "/topic "),
        ("got", "raw", "031"),
        ("type", "A", "main", "/topic Testing topics"),
        ("got", "raw", "031Testing topics"),
        ("view", "B", "main", r"Topic changed to: Testing topics"),
        ("view", "A", "main", r"Topic changed to: Testing topics"),
    ]),
    ("/name renames the user (trimmed), and the input line drops SEP from a name as typed", [
        ("set_text", "A", "main", 1001, "/name Al" + S + "pha2"),
        ("expect", "A", "main", "get-text", 1001, "/name Alpha2"),
        ("set_text", "A", "main", 1001, ""),
        ("type", "A", "main", "/name   Alpha2  "),
        ("got", "raw", "05<<id:Alpha>>" + S + "Alpha2"),
        ("view", "B", "main", r"Alpha changed name to: Alpha2"),
        ("type", "A", "main", "/name Alpha"),
        ("got", "raw", "05<<id:Alpha>>" + S + "Alpha"),
        ("view", "A", "main", r"Alpha2 changed name to: Alpha"),
    ]),
    ("the input line's length limits as typed: 1000, /me 1004, /name 26 with SEP dropped", [
        ("set_text", "A", "main", 1001, ""),
        ("typed", "A", "main", "a" * 1010),
        ("expect", "A", "main", "get-text", 1001, 1000),
        ("set_text", "A", "main", 1001, ""),
        ("typed", "A", "main", "/me " + "b" * 1010),
        ("expect", "A", "main", "get-text", 1001, 1004),
        ("set_text", "A", "main", 1001, ""),
        ("typed", "A", "main", "/name ABCDEFGHIJ" + S + "KLMNOPQRSTUVWXYZ"),
        ("expect", "A", "main", "get-text", 1001, "/name ABCDEFGHIJKLMNOPQRST"),
        ("set_text", "A", "main", 1001, ""),
    ]),
    ("/clear empties A's view only", [
        ("type", "A", "main", "/clear"),
        ("view", "A", "main", r"\A\s*\Z"),
        ("view", "B", "main", r"Hello from Alpha"),
    ]),
    ("/nuspw sets the normal user password of A's server at once", [
        ("type", "A", "main", "/nuspw secret"),
        ("view", "A", "main", r"\n\t<T>Server normal user password changed\."),
        ("file", "A", MAIN_LOG, r".*\r\n\t\[<TS>\] Server normal user password changed\.(\r\n.*)?"),
        ("raw_login", "late", "Late", "", "refused"),
        ("raw_login", "late", "Late", "secret"),
        ("got", "raw", "01[0-9]+" + S + "3Late"),
    ]),
    ("a chat view keeps at most 50000 characters, dropping the oldest", [
        ("raw_burst", "raw", 56, "020L%02d " + "x" * 990),
        ("view", "A", "main", r"Raw: L55 x{990}\Z"),
        ("view", "A", "main", r"\A.{45000,50000}\Z"),
        ("view_not", "A", "main", r"Raw: L00 ", 0),
        ("view", "B", "main", r"Raw: L55 x{990}\Z"),
        ("view", "B", "main", r"\A.{45000,50000}\Z"),
    ]),
    ("/cpw, /saspw and /naspw change the passwords; the server admits by the new ones", [
        ("type", "A", "main", "/cpw client one"),
        ("view", "A", "main", r"\n\t<T>Client password changed\."),
        ("type", "A", "main", "/saspw super" + S + "one"),
        ("view", "A", "main", r"\n\t<T>Server super admin password changed\."),
        ("type", "A", "main", "/naspw admin one"),
        ("view", "A", "main", r"\n\t<T>Server normal admin password changed\."),
        ("raw_login", "super", "Super", "super" + S + "one"),
        ("got", "super", "00[0-9]+" + S + "1Super" + S + "Available1"),
        ("raw_login", "admin", "Admin", "admin one"),
        ("got", "admin", "00[0-9]+" + S + "2Admin" + S + "Available1"),
        ("drop", "super"),
        ("drop", "admin"),
    ]),
    ("command words are exact: \"/clear \" and \"/CLEAR\" are ordinary lines", [
        ("type", "A", "main", "/clear "),
        ("got", "raw", "04<<id:Alpha>>" + S + "0/clear "),
        ("type", "A", "main", "/CLEAR"),
        ("got", "raw", "04<<id:Alpha>>" + S + "0/CLEAR"),
        ("view", "A", "main", r"\n<T>Alpha: /CLEAR"),
    ]),
    ("the user trees list the users in their groups", [
        ("tree", "A", "main", 1029, ["Admins", "Admins/Alpha.*", "Admins/Bravo.*", "Normal", "Normal/Raw.*",
                                     "Normal/Late.*"]),
        ("tree", "B", "main", 1029, ["Admins/Alpha.*", "Admins/Bravo.*", "Normal/Raw.*", "Normal/Late.*"]),
        ("shot", "user-trees"),
    ]),
    ("the hover card shows a user's card after resting 500 ms on the row, none for a row left sooner", [
        ("activate", "A", "main"),
        ("hover", "A", "Alpha", "Raw"),
    ]),
    ("user menu commands on the selected user: address, version, mute, admin rights, kick", [
        ("tree_select", "A", "main", 1029, "Raw"),
        ("menu", "A", 32810),
        ("view", "A", "main", r"\n\t<T>Raw's IP address: 127\.0\.0\.2"),
        ("menu", "A", 32805),
        ("got", "raw", "15<<id:Alpha>>"),
        ("send", "raw", "14<<id:Alpha>>" + S + "1.17-raw"),
        ("view", "A", "main", r"\n\t<T>Raw's version: 1\.17-raw"),
        ("menu", "A", 32822),
        ("tree", "A", "main", 1029, [r"Normal/\[Raw\]"]),
        ("send", "raw", "020Muted words"),
        ("view", "B", "main", r"Raw: Muted words"),
        ("view_not", "A", "main", r"Muted words"),
        ("menu", "A", 32822),
        ("tree", "A", "main", 1029, [r"Normal/Raw"]),
        ("tree_select", "A", "main", 1029, "Late"),
        ("menu", "A", 32808),
        ("got", "raw", "08<<id:Late>>"),
        ("tree", "A", "main", 1029, [r"Admins/Late"]),
        ("tree_select", "A", "main", 1029, "Late"),  # the row moved to another group
        ("menu", "A", 32809),
        ("got", "raw", "09<<id:Late>>"),
        ("tree", "A", "main", 1029, [r"Normal/Late"]),
        ("tree_select", "A", "main", 1029, "Late"),
        ("menu", "A", 32811),
        ("closed", "late"),
        ("got", "raw", "18<<id:Late>>" + S + "0<<id:Alpha>>"),
        ("view", "A", "main", r"\n\t<T>Late has been kicked by Alpha\."),
    ]),
    ("file transfer: the Options dialog's \"...\" opens the Browse dialog, which walks the folders and writes the choice back", [
        ("menu", "A", 32775),
        ("window", "A", "Options"),
        ("set-text", "A", "Options", 1001, r"<<win:A>>\Vorlan.exe"),
        ("press", "A", "Options", 1012),
        ("window", "A", "Browse"),
        ("expect", "A", "Browse", "get-text", 1001, "<<win:A>>\\"),
        ("tree_is", "A", "Browse", 1003, ["Directories", "Directories/Chat logs", "Directories/Images",
                                          "Directories/Sounds", "Files", "Files/banlist.vr", "Files/colors.vr",
                                          "Files/options.vr", "Files/profile.vr", "Files/recentservers.vr",
                                          "Files/Vorlan.exe"]),
        ("outer_size", "A", "Browse", "<<A:34>>", "<<A:35>>"),
        ("shot", "transfer-browse"),
        ("press", "A", "Browse", 1002),
        ("tree", "A", "Browse", 1003, ["Directories", "Directories/A"]),
        ("set-text", "A", "Browse", 1001, "C:/"),
        ("tree", "A", "Browse", 1003, ["Directories", "Directories/windows"]),
        ("press", "A", "Browse", 1002),
        ("tree", "A", "Browse", 1003, ["Directories", r"Directories/C:\\", r"Directories/Z:\\"]),
        ("set-text", "A", "Browse", 1001, r"<<win:A>>\Chat logs"),
        ("tree_is", "A", "Browse", 1003, []),
        ("set-text", "A", "Browse", 1001, "<<win:A>>\\"),
        ("tree_select", "A", "Browse", 1003, "colors.vr"),
        ("press", "A", "Browse", 1004),
        ("no_window", "A", "Browse"),
        ("expect", "A", "Options", "get-text", 1001, r"<<win:A>>\colors.vr"),
        ("press", "A", "Options", 1012),
        ("window", "A", "Browse"),
        ("resize", "A", "Browse", 560, 420),
        ("press", "A", "Browse", 1005),
        ("no_window", "A", "Browse"),
        ("expect", "A", "Options", "get-text", 1001, r"<<win:A>>\colors.vr"),
        ("press", "A", "Options", 1012),
        ("outer_size", "A", "Browse", 560, 420),
        ("syscommand", "A", "Browse", SC_MAXIMIZE),
        ("press", "A", "Browse", 1005),
        ("press", "A", "Options", 1012),
        ("expect", "A", "Browse", "is-visible", "maximized"),
        ("syscommand", "A", "Browse", SC_RESTORE),
        ("outer_size", "A", "Browse", 560, 420),
        ("press", "A", "Browse", 1005),
        ("press", "A", "Options", 1027),
        ("no_window", "A", "Options"),
    ], [("close", "A", "Browse"), ("close", "A", "Options")]),
    ("file transfer: A sends a file to B through \"Send file\", the \"Open file\" dialog and B's \"Save file\" dialog", [
        ("write_bytes", "A", "send-me.bin", 300000),
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32826),
        ("window", "A", "Open file"),
        ("expect", "A", "Open file", "get-text", 1001, "Bravo"),
        ("set-text", "A", "Open file", 1010, r"<<win:A>>\send-me.bin"),
        ("window", "A", "Open file - send-me.bin"),
        ("expect", "A", "Open file - send-me.bin", "get-text", 1002, "292.96 KB"),
        ("click", "A", "Open file - send-me.bin", 1006),
        ("controls", "A", "Open file - send-me.bin", {1007: "Port range:", 1008: None}),
        ("click", "A", "Open file - send-me.bin", 1005),
        ("expect", "A", "Open file - send-me.bin", "get-check", 1005, "1"),
        ("expect", "A", "Open file - send-me.bin", "get-check", 1006, "0"),
        ("shot", "transfer-open-file"),
        ("press", "A", "Open file - send-me.bin", 1012),
        ("no_window", "A", "Open file - send-me.bin"),
        ("window", "B", "Save file - send-me.bin"),
        ("expect", "B", "Save file - send-me.bin", "is-visible", "minimized"),
        ("expect", "A", "send-me.bin - send", "get-text", 1002, "Waiting for user to accept"),
        ("shot", "transfer-waiting"),
        ("expect", "B", "Save file - send-me.bin", "get-text", 1001, "Alpha"),
        ("expect", "B", "Save file - send-me.bin", "get-text", 1002, "Server"),
        ("expect", "B", "Save file - send-me.bin", "get-text", 1003, "292.96 KB"),
        ("syscommand", "B", "Save file - send-me.bin", SC_RESTORE),
        ("press", "B", "Save file - send-me.bin", 1008),
        ("window", "B", "Browse"),
        ("set-text", "B", "Browse", 1001, "<<win:B>>\\"),
        ("tree", "B", "Browse", 1003, ["Directories/Chat logs", "Files/options.vr"]),
        ("press", "B", "Browse", 1004),
        ("no_window", "B", "Browse"),
        ("expect", "B", "Save file - send-me.bin", "get-text", 1007, r"<<win:B>>\send-me.bin"),
        ("set-text", "B", "Save file - send-me.bin", 1007, r"<<win:B>>\got.bin"),
        ("shot", "transfer-save-file"),
        ("press", "B", "Save file - send-me.bin", 1009),
        ("expect_slow", "B", "(100%) got.bin - receive", "get-text", 1002, "File transfer complete"),
        ("expect_slow", "A", "(100%) send-me.bin - send", "get-text", 1002, "File transfer complete"),
        ("expect", "A", "(100%) send-me.bin - send", "get-text", 1011, "close"),
        ("expect", "B", "(100%) got.bin - receive", "get-text", 1010, "open file"),
        ("expect", "B", "(100%) got.bin - receive", "get-text", 1007, "292.96 KB"),
        ("same_bytes", "B", "got.bin", "A", "send-me.bin"),
        ("view", "A", "main", r"\n\t<T>File sent: .*send-me\.bin"),
        ("view", "B", "main", r"\n\t<T>File received: .*got\.bin"),
        ("file", "A", MAIN_LOG, r".*\r\n\t\[<TS>\] File sent: Z:.*\\send-me\.bin.*"),
        ("file", "B", MAIN_LOG, r".*\r\n\t\[<TS>\] File received: Z:.*\\got\.bin.*"),
        ("move", "A", "(100%) send-me.bin - send", 0, 0),
        ("move", "B", "(100%) got.bin - receive", 420, 0),
        ("shot", "transfer-complete"),
        ("press", "A", "(100%) send-me.bin - send", 1011),
        ("no_window", "A", "(100%) send-me.bin - send"),
        ("press", "B", "(100%) got.bin - receive", 1011),
        ("no_window", "B", "(100%) got.bin - receive"),
    ], [("close", "A", "re:.* - send"), ("close", "B", "re:.* - receive"), ("close", "B", "re:Save file.*")]),
    ("file transfer: B refuses A's offer, and A's window shows \"Canceled\" with \"close\"", [
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32826),
        ("set-text", "A", "Open file", 1010, r"<<win:A>>\send-me.bin"),
        ("press", "A", "Open file - send-me.bin", 1012),
        ("window", "B", "Save file - send-me.bin"),
        ("press", "B", "Save file - send-me.bin", 1010),
        ("no_window", "B", "Save file - send-me.bin"),
        ("expect", "A", "send-me.bin - send", "get-text", 1002, "Canceled"),
        ("expect", "A", "send-me.bin - send", "get-text", 1011, "close"),
        ("press", "A", "send-me.bin - send", 1011),
        ("no_window", "A", "send-me.bin - send"),
    ], [("close", "A", "re:.* - send"), ("close", "B", "re:Save file.*")]),
    ("file transfer: \"pause\" keeps the partly received file, and \"resume\" in \"File already exists.\" completes it", [
        ("write_bytes", "A", "big.bin", 64 * 1048576),
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32826),
        ("set-text", "A", "Open file", 1010, r"<<win:A>>\big.bin"),
        ("set-text", "A", "Open file - big.bin", 1003, "1 KB"),
        ("press", "A", "Open file - big.bin", 1012),
        ("window", "B", "Save file - big.bin"),
        ("set-text", "B", "Save file - big.bin", 1007, r"<<win:B>>\big.bin"),
        ("press", "B", "Save file - big.bin", 1009),
        ("expect_slow", "B", r"re:\(\d+%\) big.bin - receive", "get-text", 1007, r"re:[0-9.]+ [KM]B"),
        ("shot", "transfer-receiving"),
        ("press", "B", r"re:\(\d+%\) big.bin - receive", 1010),
        ("no_window", "B", r"re:\(\d+%\) big.bin - receive"),
        ("expect_slow", "A", r"re:\(\d+%\) big.bin - send", "get-text", 1002, "re:Connection (closed|lost)"),
        ("expect", "A", r"re:\(\d+%\) big.bin - send", "get-text", 1011, "close"),
        ("size_between", "B", "big.bin", 0, 64 * 1048576),
        ("press", "A", r"re:\(\d+%\) big.bin - send", 1011),
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32826),
        ("set-text", "A", "Open file", 1010, r"<<win:A>>\big.bin"),
        ("click", "A", "Open file - big.bin", 1006),
        ("set-text", "A", "Open file - big.bin", 1003, "1 MB"),
        ("press", "A", "Open file - big.bin", 1012),
        ("window", "B", "Save file - big.bin"),
        ("expect", "B", "Save file - big.bin", "get-text", 1002, "Client"),
        ("syscommand", "B", "Save file - big.bin", SC_RESTORE),
        ("shot", "transfer-save-file-connecting"),
        ("set-text", "B", "Save file - big.bin", 1007, r"<<win:B>>\big.bin"),
        ("press", "B", "Save file - big.bin", 1009),
        ("window", "B", "Save file"),
        ("shot", "transfer-file-exists"),
        ("press", "B", "Save file", 1002),
        ("expect_slow", "B", "(100%) big.bin - receive", "get-text", 1002, "File transfer complete"),
        ("same_bytes", "B", "big.bin", "A", "big.bin"),
        ("expect_slow", "A", "(100%) big.bin - send", "get-text", 1002, "File transfer complete"),
        ("press", "A", "(100%) big.bin - send", 1011),
        ("press", "B", "(100%) big.bin - receive", 1011),
        ("no_window", "B", "(100%) big.bin - receive"),
    ], [("close", "A", "re:.* - send"), ("close", "B", "re:.* - receive"), ("close", "B", "re:Save file.*")]),
    ("closing A's window hides it and A keeps chatting", [
        ("close", "A", "main"),
        ("expect", "A", "main", "is-visible", "hidden"),
        ("send", "raw", "020While hidden"),
        ("view", "A", "main", r"\n<T>Raw: While hidden"),
        ("type", "A", "main", "Still here"),
        ("got", "raw", "04<<id:Alpha>>" + S + "0Still here"),
        ("view", "B", "main", r"\n<T>Alpha: Still here"),
        ("shot", "A-hidden"),
    ]),
    ("\"Show Vorlan\" (113) shows the hidden window; Escape hides it again", [
        ("expect", "A", "main", "is-visible", "hidden"),
        ("menu", "A", 113),
        ("expect", "A", "main", "is-visible", "visible"),
        ("key", "A", "main", 1001, 0x1B),
        ("expect", "A", "main", "is-visible", "hidden"),
        ("menu", "A", 113),
        ("expect", "A", "main", "is-visible", "visible"),
    ], [("menu", "A", 113)]),
    ("tray and pop-up: P, kept in the tray, shows a join as a pop-up that slides up beside the task bar, rests and slides away", [
        ("prepare", "P", INSTANCE_P),
        ("launch", "P"),
        ("close", "P", "main"),
        ("expect", "P", "main", "is-visible", "hidden"),
        ("raw_login", "popper", "Popper", "secret", "accepted", "127.0.0.5"),
        ("raw_login", "joiner", "Joiner", "secret", "accepted", "127.0.0.6"),
        ("expect", "P", POPUP, "is-visible", "visible"),
        ("burst", "P-popup-rising", 1.5),
        ("expect", "P", POPUP, "get-text", 1006, "Joiner has joined the server."),
        ("expect", "P", POPUP, "rect", r"re:\d+ \d+ 180 116\t.*"),
        ("shot", "P-popup-shown"),
        ("sleep", 7),
        ("expect", "P", POPUP, "rect", POPUP_SLIDING_DOWN),
        ("burst", "P-popup-falling", 1),
        ("expect", "P", POPUP, "is-visible", "hidden"),
        ("expect", "P", "main", "is-visible", "hidden"),
    ]),
    ("tray and pop-up: a click on a pop-up about a private line shows that private window", [
        ("send", "popper", "11<<id:Papa>>" + S + "2hello Papa"),
        ("expect", "P", POPUP, "get-text", 1006, "Popper says: hello Papa"),
        ("expect", "P", POPUP, "is-visible", "visible"),
        ("window", "P", PRIVATE_FROM_POPPER),
        ("expect", "P", PRIVATE_FROM_POPPER, "is-visible", "minimized"),
        ("post", "P", POPUP, WM_LBUTTONUP, 0, 0x00100010),
        ("expect", "P", POPUP, "is-visible", "hidden"),
        ("expect", "P", PRIVATE_FROM_POPPER, "is-visible", "visible"),
        ("expect", "P", "main", "is-visible", "hidden"),
        ("shot", "P-private-from-popup"),
        ("key", "P", PRIVATE_FROM_POPPER, 1001, VK_ESCAPE),
        ("no_window", "P", PRIVATE_FROM_POPPER),
    ]),
    ("tray and pop-up: a right click dismisses a pop-up and does nothing else; a click on a main-chat pop-up shows the main window", [
        ("send", "popper", "022to everyone"),
        ("expect", "P", POPUP, "get-text", 1006, "Popper says: to everyone"),
        ("expect", "P", POPUP, "is-visible", "visible"),
        ("post", "P", POPUP, WM_RBUTTONUP, 0, 0x00100010),
        ("expect", "P", POPUP, "is-visible", "hidden"),
        ("expect", "P", "main", "is-visible", "hidden"),
        ("send", "popper", "022once more"),
        ("expect", "P", POPUP, "get-text", 1006, "Popper says: once more"),
        ("post", "P", POPUP, WM_LBUTTONUP, 0, 0x00100010),
        ("expect", "P", POPUP, "is-visible", "hidden"),
        ("expect", "P", "main", "is-visible", "visible"),
        ("close", "P", "main"),
        ("expect", "P", "main", "is-visible", "hidden"),
    ]),
    ("tray and pop-up: the tray menu: \"Show Vorlan\" right above \"Exit\" shows the window; a double click on the icon does the same", [
        ("post", "P", "main", TRAY_CALLBACK, 0, WM_RBUTTONUP),
        ("sleep", 1),
        ("shot", "P-tray-menu"),
        # From no selection, Up selects "Exit", the next Up skips the separator.
        ("post", "P", "main", WM_KEYDOWN, VK_UP, 0),
        ("post", "P", "main", WM_KEYDOWN, VK_UP, 0),
        ("sleep", 0.5),
        ("shot", "P-tray-menu-show-vorlan-selected"),
        ("post", "P", "main", WM_KEYDOWN, VK_RETURN, 0),
        ("expect", "P", "main", "is-visible", "visible"),
        ("close", "P", "main"),
        ("expect", "P", "main", "is-visible", "hidden"),
        ("post", "P", "main", TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK),
        ("expect", "P", "main", "is-visible", "visible"),
        ("responsive", "P"),
    ]),
    ("tray and pop-up: the tray menu of an admin also offers the connections and the ban list", [
        ("post", "A", "main", TRAY_CALLBACK, 0, WM_RBUTTONUP),
        ("sleep", 1),
        ("shot", "A-tray-menu-admin"),
        ("post", "A", "main", WM_KEYDOWN, VK_ESCAPE, 0),
        ("responsive", "A"),
        ("drop", "joiner"),
        ("drop", "popper"),
        ("exit", "P"),
    ], [("post", "A", "main", WM_KEYDOWN, VK_ESCAPE, 0), ("exit", "P")]),
    ("a private line from the raw client opens B's private window, and B answers in it", [
        ("send", "raw", "11<<id:Bravo>>" + S + "0Private hello"),
        # Opened minimised and not activated; the caption counts the unread lines.
        ("window", "B", "[1] Raw"),
        ("expect", "B", "[1] Raw", "is-visible", "minimized"),
        # Wine brings a window shown minimised without activation to the
        # front all the same; with B's main window in front again, the next
        # line counts as unread.
        ("activate", "B", "main"),
        ("send", "raw", "11<<id:Bravo>>" + S + "1waves privately"),
        ("window", "B", "[2] Raw"),
        ("activate", "B", "[2] Raw"),
        ("window", "B", "Raw"),
        ("view", "B", PRIVATE_FROM_RAW, r"\A\n\t<T>Chat logging to: Raw\.txt"),
        ("view", "B", PRIVATE_FROM_RAW, r"\n<T>Raw: Private hello\n\t<T>Raw waves privately"),
        ("type", "B", PRIVATE_FROM_RAW, "Private reply"),
        ("got", "raw", "13<<id:Bravo>>" + S + "0Private reply"),
        ("view", "B", PRIVATE_FROM_RAW, r"\n<T>Bravo: Private reply"),
        ("file", "B", "Chat logs/Private chat/Raw.txt",
         r"Session start \(<TS>\)\r\n\[<TS>\] Raw: Private hello\r\n\t\[<TS>\] Raw waves privately"
         r"\r\n\[<TS>\] Bravo: Private reply"),
        ("shot", "B-private-with-Raw"),
        ("key", "B", PRIVATE_FROM_RAW, 1001, 0x1B),  # Escape closes a private window
        ("no_window", "B", PRIVATE_FROM_RAW),
        ("file", "B", "Chat logs/Private chat/Raw.txt",
         r"Session start \(<TS>\)\r\n\[<TS>\] Raw: Private hello\r\n\t\[<TS>\] Raw waves privately"
         r"\r\n\[<TS>\] Bravo: Private reply\r\nSession close \(<TS>\)"),
    ]),
    ("A opens a private chat with B from the user tree; both windows and logs hold the conversation", [
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32804),
        ("window", "A", PRIVATE_FROM_BRAVO),
        ("type", "A", PRIVATE_FROM_BRAVO, "Hi Bravo"),
        ("window", "B", PRIVATE_FROM_ALPHA),
        ("view", "B", PRIVATE_FROM_ALPHA, r"\n<T>Alpha: Hi Bravo"),
        ("type", "B", PRIVATE_FROM_ALPHA, "/me smiles"),
        ("type", "B", PRIVATE_FROM_ALPHA, "Hi Alpha"),
        ("view", "A", PRIVATE_FROM_BRAVO, r"\n\t<T>Bravo smiles\n<T>Bravo: Hi Alpha"),
        ("file", "A", "Chat logs/Private chat/Bravo.txt",
         r"Session start \(<TS>\)\r\n\[<TS>\] Alpha: Hi Bravo\r\n\t\[<TS>\] Bravo smiles\r\n\[<TS>\] Bravo: Hi Alpha"),
        ("file", "B", "Chat logs/Private chat/Alpha.txt",
         r"Session start \(<TS>\)\r\n\[<TS>\] Alpha: Hi Bravo\r\n\t\[<TS>\] Bravo smiles\r\n\[<TS>\] Bravo: Hi Alpha"),
        ("shot", "private-A-and-B"),
        # The size of a private window is remembered for all of them.
        ("resize", "A", PRIVATE_FROM_BRAVO, 500, 400),
        ("outer_size", "A", PRIVATE_FROM_BRAVO, 500, 400),
        ("layout", "A", {1046: "26, 26, cx - 52, cy - 73", 1001: "30, cy - 43, cx - 60, 13"}, PRIVATE_FROM_BRAVO),
    ]),
    ("a private window a line opened minimised comes back maximized while private windows are kept maximized", [
        ("syscommand", "A", PRIVATE_FROM_BRAVO, SC_MAXIMIZE),
        ("expect", "A", PRIVATE_FROM_BRAVO, "is-visible", "maximized"),
        ("send", "raw", "11<<id:Alpha>>" + S + "0Hello while maximized"),
        ("window", "A", PRIVATE_FROM_RAW),
        ("expect", "A", PRIVATE_FROM_RAW, "is-visible", "minimized"),
        ("syscommand", "A", PRIVATE_FROM_RAW, SC_RESTORE),  # what its task bar button does
        ("expect", "A", PRIVATE_FROM_RAW, "is-visible", "maximized"),
        ("shot", "A-private-restored-maximized"),
        # Restoring it kept the shared flag: the next private window opens maximized too.
        ("key", "A", PRIVATE_FROM_RAW, 1001, 0x1B),
        ("no_window", "A", PRIVATE_FROM_RAW),
        ("key", "A", PRIVATE_FROM_BRAVO, 1001, 0x1B),
        ("no_window", "A", PRIVATE_FROM_BRAVO),
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32804),
        ("window", "A", PRIVATE_FROM_BRAVO),
        ("expect", "A", PRIVATE_FROM_BRAVO, "is-visible", "maximized"),
        ("syscommand", "A", PRIVATE_FROM_BRAVO, SC_RESTORE),
        ("expect", "A", PRIVATE_FROM_BRAVO, "is-visible", "visible"),
        ("outer_size", "A", PRIVATE_FROM_BRAVO, 500, 400),
    ], [("syscommand", "A", PRIVATE_FROM_RAW, SC_RESTORE), ("syscommand", "A", PRIVATE_FROM_BRAVO, SC_RESTORE)]),
    ("Edit profile (32774): the updated profile is what another user's info request gets", [
        ("menu", "A", 32774),
        ("window", "A", "Edit profile"),
        ("controls", "A", "Edit profile", {1011: None, 1001: None, 1014: None, 1016: None, 1017: None,
                                           1018: None, 1019: None, 1024: None, 1012: "update", 1015: "cancel"}),
        ("labels", "A", "Edit profile", ["Name:", "E-mail address:", "Country:", "Home page:", "Interests:",
                                         "Gender:", "Birthday:", "Picture URL:"]),
        ("shot", "profile-dialog"),
        ("set_text", "A", "Edit profile", 1017, "chess"),
        ("press", "A", "Edit profile", 1012),
        ("no_window", "A", "Edit profile"),
        ("send", "raw", "09<<id:Alpha>>"),
        ("got", "raw", "12<<id:Alpha>>" + S + "Alpha" + S + "alpha@example.org" + S + "Iceland" + S + S +
         "chess" + S + S + S + S + NO_SEP),
    ], [("close", "A", "Edit profile")]),
    ("Custom status (32796): the status reaches the others", [
        ("menu", "A", 32796),
        ("window", "A", "Custom"),
        ("controls", "A", "Custom", {1011: None, 1012: "update", 1015: "cancel"}),
        ("labels", "A", "Custom", ["Status:"]),
        ("shot", "custom-status-dialog"),
        ("set_text", "A", "Custom", 1011, "Testing" + S + " things"),
        ("press", "A", "Custom", 1012),
        ("no_window", "A", "Custom"),
        ("got", "raw", "06<<id:Alpha>>" + S + "Testing things"),
    ], [("close", "A", "Custom")]),
    ("B's private window with A shows A's custom status", [
        ("view", "B", PRIVATE_FROM_ALPHA, r"\n\t<T>Alpha changed status to: Testing things"),
        ("file", "B", "Chat logs/Private chat/Alpha.txt",
         r"Session start.*\r\n\t\[<TS>\] Alpha changed status to: Testing things(\r\n.*)?"),
    ]),
    ("B's info window on A shows the profile A edited", [
        ("tree_select", "B", "main", 1029, "Alpha"),
        ("menu", "B", 32803),
        ("window", "B", "Alpha's info"),
        ("labels", "B", "Alpha's info", ["Alpha", "alpha@example.org", "Iceland", "chess", "Testing things"]),
        ("shot", "B-info-on-Alpha"),
        ("close", "B", "Alpha's info"),
    ]),
    ("About Vorlan (32782) shows the version", [
        ("menu", "A", 32782),
        ("window", "A", "About Vorlan"),
        ("labels", "A", "About Vorlan", ["Vorlan 1.17", "close"]),
        ("shot", "about"),
        ("close", "A", "About Vorlan"),
    ]),
    ("Connect to server (32773) opens the connect dialog", [
        ("menu", "A", 32773),
        ("window", "A", "Connect to server"),
        ("labels", "A", "Connect to server", ["Host:", "connect to main server",
                                              "connect to second main server", "connect", "cancel"]),
        ("shot", "connect-dialog"),
        ("close", "A", "Connect to server"),
    ]),
    ("Show info (32803) on a user opens the info window with the user's profile", [
        ("tree_select", "A", "main", 1029, "Raw"),
        ("menu", "A", 32803),
        ("got", "raw", "11<<id:Alpha>>"),
        ("send", "raw", "10<<id:Alpha>>" + S + "Raw" + S + "raw@example.org" + S + "Nowhere" + S + S +
         "wires" + S + S + S + S + "Available"),
        ("window", "A", "Raw's info"),
        ("labels", "A", "Raw's info", ["Name:", "E-mail address:", "Country:", "Home page:", "Interests:",
                                       "Gender:", "Birthday:", "Picture URL:", "Status:", "private chat"]),
        ("shot", "info-window"),
        ("close", "A", "Raw's info"),
    ]),
    ("Close main chat / Open main chat (32776) tell the server and stop main-chat lines", [
        ("menu", "A", 32776),
        ("got", "raw", "07<<id:Alpha>>4"),
        ("view", "A", "main", r"\n\t<T>Main chat closed\."),
        ("tree", "B", "main", 1029, [r"Admins/\(Alpha\)"]),
        ("type", "A", "main", "Dropped while closed"),
        ("send", "raw", "020Not for Alpha"),
        ("menu", "A", 32776),
        ("got", "raw", "07<<id:Alpha>>0"),
        ("view", "A", "main", r"\n\t<T>Main chat opened\."),
        ("raw_none", "raw", ".*Dropped while closed"),
        ("view_not", "A", "main", r"Not for Alpha"),
    ]),
    ("Set status (32793 Busy, 32792 Available) is announced to everyone", [
        ("menu", "A", 32793),
        ("got", "raw", "06<<id:Alpha>>" + S + "Busy"),
        ("menu", "A", 32792),
        ("got", "raw", "06<<id:Alpha>>" + S + "Available"),
    ]),
    ("Stop listening / Start listening (32777) close and reopen A's listener", [
        ("menu", "A", 32777),
        ("view", "A", "main", r"\n\t<T>Listening stopped\."),
        ("raw_login", "refused", "Refused", "secret", "refused"),
        ("menu", "A", 32777),
        ("view", "A", "main", r"\n\t<T>Listening started\."),
        ("raw_login", "again", "Again", "secret"),
    ]),
    ("End connection (32779)", [
        ("menu", "A", 32779),
        ("view", "A", "main", r"\n\t<T>Disconnected\."),
        ("got", "raw", "02<<id:Alpha>>" + S + "0"),
    ]),
    ("Custom status does nothing while not connected; cancel closes it", [
        ("menu", "A", 32796),
        ("window", "A", "Custom"),
        ("set_text", "A", "Custom", 1011, "Nobody hears this"),
        ("press", "A", "Custom", 1012),
        ("sleep", 0.5),
        ("window", "A", "Custom", 0),
        ("press", "A", "Custom", 1015),
        ("no_window", "A", "Custom"),
    ], [("close", "A", "Custom")]),
    ("Connect to local server (32772)", [
        ("menu", "A", 32772),
        ("got", "raw", "01[0-9]+" + S + "0Alpha"),
        ("view", "A", "main", r"\n\t<T>Disconnected\..*\n\t<T>Connected\."),
    ]),
    ("B's private window with A tells when A left and came back", [
        ("view", "B", PRIVATE_FROM_ALPHA, r"\n\t<T>Alpha - offline\.\n\t<T>Alpha - online\."),
        ("file", "B", "Chat logs/Private chat/Alpha.txt",
         r"Session start.*\r\n\t\[<TS>\] Alpha - offline\.\r\n\t\[<TS>\] Alpha - online\.(\r\n.*)?"),
    ]),
    ("Ban (32812) drops the user, refuses its address and is kept in the ban list file", [
        ("tree_select", "A", "main", 1029, "Again"),
        ("menu", "A", 32812),
        ("closed", "again"),
        ("got", "raw", "18<<id:Again>>" + S + "1<<id:Alpha>>"),
        ("view", "A", "main", r"\n\t<T>Again has been banned by Alpha\."),
        ("raw_login", "banned", "Banned", "secret", "refused"),
    ]),
    # The admin's list windows on A, the host: rows by id, requests through A's own client.
    ("Show connections (111): a raw client kicked in the Connections window is gone from the rebuilt list", [
        ("raw_login", "kickme", "Kickme", "secret", "accepted", "127.0.0.3"),
        ("raw_login", "banme", "Banme", "secret", "accepted", "127.0.0.4"),
        ("menu", "A", 111),
        ("window", "A", "Connections"),
        ("move", "A", "Connections", 40, 40),
        ("tree", "A", "Connections", 1029, [r"Admins/Alpha - 127\.0\.0\.1", r"Normal/Raw - 127\.0\.0\.2",
                                            r"Normal/Kickme - 127\.0\.0\.3", r"Normal/Banme - 127\.0\.0\.4"]),
        ("outer_size", "A", "Connections", "<<A:28>>", "<<A:29>>"),
        ("shot", "connections-window"),
        ("tree_select", "A", "Connections", 1029, "Kickme"),
        ("command", "A", "Connections", 32841),
        ("closed", "kickme"),
        ("got", "raw", "18<<id:Kickme>>" + S + "0<<id:Alpha>>"),
        ("view", "A", "main", r"\n\t<T>Kickme has been kicked by Alpha\."),
        ("tree_lacks", "A", "Connections", 1029, "Normal/Kickme.*"),
        ("tree", "A", "Connections", 1029, [r"Normal/Banme - 127\.0\.0\.4"]),
    ], [("close", "A", "Connections")]),
    ("Ban in the Connections window drops the user, whose address is then refused at accept", [
        ("tree_select", "A", "Connections", 1029, "Banme"),
        ("command", "A", "Connections", 32842),
        ("closed", "banme"),
        ("got", "raw", "18<<id:Banme>>" + S + "1<<id:Alpha>>"),
        ("tree_lacks", "A", "Connections", 1029, "Normal/Banme.*"),
        ("tree", "A", "Connections", 1029, [r"Normal/Raw - 127\.0\.0\.2"]),
        ("raw_login", "banme", "Banme", "secret", "refused", "127.0.0.4"),
        # Shown again, the one window comes back from the task bar.
        ("syscommand", "A", "Connections", SC_MINIMIZE),
        ("expect", "A", "Connections", "is-visible", "minimized"),
        ("menu", "A", 111),
        ("expect", "A", "Connections", "is-visible", "visible"),
    ], [("close", "A", "Connections")]),
    ("Show ban list (112): bans added in the Add dialog show with and without a description and go again", [
        ("menu", "A", 112),
        ("window", "A", "Ban list"),
        ("move", "A", "Ban list", 600, 40),
        ("tree_is", "A", "Ban list", 1029, ["127.0.0.2 - Again", "127.0.0.4 - Banme"]),
        ("command", "A", "Ban list", 32844),
        ("window", "A", "Add"),
        ("labels", "A", "Add", ["IP address:", "Description:", "add", "cancel"]),
        # An address of blanks sends nothing and the dialog stays.
        ("set_text", "A", "Add", 1011, "   "),
        ("press", "A", "Add", 1012),
        ("sleep", 0.5),
        ("window", "A", "Add", 0),
        ("set_text", "A", "Add", 1011, " 10.9.8.7 "),
        ("set_text", "A", "Add", 1001, "with" + S + " description"),
        ("expect", "A", "Add", "get-text", 1001, "with description"),
        ("shot", "add-dialog"),
        ("press", "A", "Add", 1012),
        ("no_window", "A", "Add"),
        ("tree_is", "A", "Ban list", 1029, ["127.0.0.2 - Again", "127.0.0.4 - Banme", "10.9.8.7 - with description"]),
        ("command", "A", "Ban list", 32844),
        ("window", "A", "Add"),
        ("set_text", "A", "Add", 1011, "10.9.8.6"),
        ("press", "A", "Add", 1012),
        ("no_window", "A", "Add"),
        ("tree_is", "A", "Ban list", 1029,
         ["127.0.0.2 - Again", "127.0.0.4 - Banme", "10.9.8.7 - with description", "10.9.8.6"]),
        ("shot", "ban-list-window"),
        ("tree_select", "A", "Ban list", 1029, "10.9.8.7"),
        ("command", "A", "Ban list", 32845),
        ("tree_is", "A", "Ban list", 1029, ["127.0.0.2 - Again", "127.0.0.4 - Banme", "10.9.8.6"]),
        # The freed ban id goes to the next ban: "banlist.vr" shows it after Exit.
        ("command", "A", "Ban list", 32844),
        ("window", "A", "Add"),
        ("set_text", "A", "Add", 1011, "10.9.8.5"),
        ("set_text", "A", "Add", 1001, "next"),
        ("press", "A", "Add", 1012),
        ("no_window", "A", "Add"),
        ("tree_is", "A", "Ban list", 1029, ["127.0.0.2 - Again", "127.0.0.4 - Banme", "10.9.8.6", "10.9.8.5 - next"]),
    ], [("close", "A", "Add"), ("close", "A", "Ban list")]),
    # Last before A's exit: it turns the time prefix off.
    ("Options (32775): a check box changed and applied takes effect on the next line", [
        ("menu", "A", 32775),
        ("window", "A", "Options"),
        ("controls", "A", "Options", {
            1039: "Check for new version", 1040: "Start server", 1042: "Connect to specified host", 1011: None,
            1032: "Attempt to reconnect when losing connection", 1034: "Enable popup",
            1035: "Enable popup sound", 1038: "Enable chat logging", 1036: "Enable message sound",
            1047: "Enable chat logging", 1048: "Enable timestamps",
            1049: "Automatically open links in browser when clicked",
            1050: "Close window when transfer is complete", 1043: "Use specified browser", 1001: None,
            1012: "...", 1044: "Use Internet Explorer", 1015: "apply", 1027: "cancel"}),
        ("expect", "A", "Options", "get-check", 1048, "1"),
        ("shot", "options-dialog"),
        ("click", "A", "Options", 1048),
        ("expect", "A", "Options", "get-check", 1048, "0"),
        ("press", "A", "Options", 1015),
        ("no_window", "A", "Options"),
        ("type", "A", "main", "No stamp"),
        ("view", "A", "main", r"\nAlpha: No stamp"),
    ], [("close", "A", "Options")]),
    ("Exit (32780) ends A, which rewrote its settings files, private and main logs and closed its server", [
        ("exit", "A"),
        # Window size, maximized flag, timestamps off, private window size, topic, passwords.
        ("file_lines", "A", "options.vr", {2: 1, 3: 1, 11: 0, 13: 0, 17: "<<port>>", 20: 900, 21: 650, 22: 80,
                                           23: 160, 24: 0, 25: 500, 26: 400, 27: 0, 45: "Testing topics",
                                           46: "client one", 47: "super" + S + "one", 48: "admin one",
                                           49: "secret",
                                           # The Browse size and the last send's choices (the file transfer checks).
                                           34: 560, 35: 420, 36: 0, 38: "1 MB", 39: 0, 40: 1}, 49),
        ("file", "A", "banlist.vr", "0" + S + r"127\.0\.0\.2" + S + "Again\r\n1" + S + r"127\.0\.0\.4" + S +
         "Banme\r\n3" + S + r"10\.9\.8\.6\r\n2" + S + r"10\.9\.8\.5" + S + "next"),
        ("file_lines", "A", "profile.vr", {1: "Alpha", 2: "alpha@example.org", 3: "Iceland"}, 8),
        ("file", "A", MAIN_LOG, r"Session start \(<TS>\).*\r\nSession close \(<TS>\)"),
        ("file", "A", "Chat logs/Private chat/Bravo.txt", r"Session start \(<TS>\)\r\n.*\r\nSession close \(<TS>\)"),
        ("closed", "raw"),
    ]),
    ("B reports the end of A's server, and its private window with A shows A offline", [
        ("view", "B", "main", r"\n\t<T>Connection (closed|lost)\."),
        ("window", "B", r"re:(\[[0-9+]+\] )?Alpha - offline"),
        ("view", "B", PRIVATE_FROM_ALPHA, r"\n\t<T>Alpha - offline\."),
        ("shot", "B-after-A-left"),
    ]),
    ("the end of the Windows session ends B as Exit would: it rewrote its files and kept its missing ban list missing", [
        ("exit", "B", 20, "end-session"),
        ("file", "B", "banlist.vr", None),
        ("file_lines", "B", "profile.vr", {1: "Bravo"}),
        ("file_lines", "B", "options.vr", {2: 0, 13: 0, 17: "<<port>>"}, 49),
        ("file", "B", MAIN_LOG, r"Session start \(<TS>\).*\r\nSession close \(<TS>\)"),
    ]),
    ("A starts again from the files it wrote: size, timestamps off, topic, passwords, bans, servers, logs", [
        ("launch", "A"),
        ("wait_listening", "A"),
        ("outer_size", "A", "main", 900, 650),
        ("view", "A", "main", r"\A\n\tChat logging to: mainchat\.txt"),
        ("tree", "A", "main", 1052, [r"\d\d\.\d\d\.\d{4} \d\d:\d\d - 127\.0\.0\.1 - Testing topics"]),
        ("file", "A", MAIN_LOG, r"Session start \(<TS>\).*\r\nSession close \(<TS>\)\r\n\r\n"
                                r"Session start \(<TS>\)(\r\n.*)?"),
        ("raw_login", "third", "Third", "secret", "refused"),   # 127.0.0.2 is banned
        ("raw_login", "third", "Third", "", "refused", "127.0.0.3"),
        ("raw_login", "third", "Third", "secret", "accepted", "127.0.0.3"),
        ("got", "third", "030Testing topics"),
        ("shot", "A-second-start"),
        ("exit", "A"),
    ]),
]
# Malformed and hostile messages from a server.
HOSTILE_FRAMES = [
    "00" + "7" + S + "9Level nine" + S + "Available0",   # level digit out of range
    "01" + "0" + S + "0Zero",                             # id 0
    "01" + "-5" + S + "3Negative",
    "02",                                                 # no fields
    "02" + "99" + S + "0",                                # unknown user leaves
    "04" + "99" + S + "0from nobody",                     # unknown sender
    "04" + "1",                                           # no SEP
    "07",
    "0799",
    "12" + "1" + S + "Fake",                              # profile with too few fields
    "13" + "1" + S,                                       # private line without kind
    "17",
    "18" + "99" + "0",                                    # short form, unknown user
    "18" + "1" + S,                                       # long form without kind and remover
    "19",
    "20" + "1",
    "99" + "unknown code",
    S + S + S,
    "0" ,
    "03" + "1" + "T" * 5000,                              # a long topic
]

CHECKS += [
    ("a client survives malformed messages from its server and still answers queries", [
        ("fake_server", "fs"),
        ("prepare", "C", {"options": {2: 0, 3: 1, 4: "127.0.0.1", 17: "<<fs.port>>"},
                          "files": {"profile.vr": ["Charlie", "", "", "", "", "", "", ""]}}),
        ("launch", "C"),
        ("got", "fs", "00Charlie" + S),
        ("send", "fs", "002" + S + "0Charlie" + S + "Available1\0" + "001" + S + "3Fake" + S +
         "Available0\0" + "030Scripted topic"),
        ("view", "C", "main", r"\n<T>Topic: Scripted topic"),
        ("send", "fs", "\0".join(HOSTILE_FRAMES)),
        # An unterminated message longer than the 2000 bytes a client keeps, then its end.
        ("send", "fs", "041" + S + "0" + "z" * 3000, ""),
        ("sleep", 1),  # so that the client reads the two parts in two notifications
        ("send", "fs", "tail"),
        ("send", "fs", "041" + S + "0still alive"),
        ("view", "C", "main", r"\n<T>Fake: still alive"),
        ("alive", "C"),
        ("view_not", "C", "main", r"from nobody|ztail"),
        ("send", "fs", "111\0" + "151"),
        ("got", "fs", "101" + S + "Charlie" + S * 8 + "Available"),
        ("got", "fs", "141" + S + "1.17"),
        ("file", "C", MAIN_LOG, r"Session start.*\r\n\[<TS>\] Fake: still alive(\r\n.*)?"),
        ("shot", "C-after-hostile-server"),
    ]),
    ("a 60000-character line from a server leaves the client responsive and its view bounded", [
        ("send", "fs", "041" + S + "0" + "y" * 60000 + "\0" + "041" + S + "0after the long line"),
        ("view", "C", "main", r"\n<T>Fake: after the long line", 5),
        ("view", "C", "main", r"\A.{0,50000}\Z"),
    ]),
    # C is an admin of a scripted server: the list windows' exact requests.
    ("C's Connections window lists the scripted server's rows under their groups", [
        ("send", "fs", "082"),  # whatever the hostile frames did, C is an admin again
        ("menu", "C", 111),
        ("window", "C", "Connections"),
        ("got", "fs", "18"),
        ("send", "fs", "1912" + S + "127.0.0.1\0" + "1901" + S + "10.0.0.5\0" + "19077" + S + "10.0.0.77"),
        ("tree_is", "C", "Connections", 1029,
         ["Admins", "Admins/Charlie - 127.0.0.1", "Normal", "Normal/Fake - 10.0.0.5", "77 - 10.0.0.77"]),
        ("shot", "C-connections"),
    ], [("close", "C", "Connections")]),
    ("C's Kick sends the row's id and asks again, with the tree emptied meanwhile", [
        ("tree_select", "C", "Connections", 1029, "Fake"),
        ("command", "C", "Connections", 32841),
        ("got", "fs", "161"),
        ("got", "fs", "18"),
        ("tree_is", "C", "Connections", 1029, []),
    ], [("close", "C", "Connections")]),
    ("C's Ban sends the row's id and its text after a SEP, then asks again", [
        ("send", "fs", "1912" + S + "127.0.0.1\0" + "1901" + S + "10.0.0.5"),
        ("tree", "C", "Connections", 1029, ["Normal/Fake - 10.0.0.5"]),
        ("tree_select", "C", "Connections", 1029, "Fake"),
        ("command", "C", "Connections", 32842),
        ("got", "fs", "171" + S + "Fake - 10.0.0.5"),
        ("got", "fs", "18"),
    ], [("close", "C", "Connections")]),
    ("C's Ban list window: rows with and without a description, Remove by ban id", [
        ("menu", "C", 112),
        ("window", "C", "Ban list"),
        ("got", "fs", "19"),
        ("send", "fs", "2017" + S + "10.0.0.9" + S + "spam\0" + "20042" + S + "10.0.0.8"),
        ("tree_is", "C", "Ban list", 1029, ["10.0.0.9 - spam", "10.0.0.8"]),
        ("tree_select", "C", "Ban list", 1029, "10.0.0.8"),
        ("command", "C", "Ban list", 32845),
        ("got", "fs", "20420"),
        ("tree_is", "C", "Ban list", 1029, []),
    ], [("close", "C", "Ban list")]),
    ("C's Add dialog trims both fields, drops SEP at once and sends the entry, then asks for the list", [
        ("command", "C", "Ban list", 32844),
        ("window", "C", "Add"),
        ("set_text", "C", "Add", 1011, " 10.0.0.7 "),
        ("set_text", "C", "Add", 1001, "bad" + S + "guy "),
        ("expect", "C", "Add", "get-text", 1001, "badguy "),
        ("press", "C", "Add", 1012),
        ("got", "fs", "2010.0.0.7" + S + "badguy1"),
        ("got", "fs", "19"),
        ("no_window", "C", "Add"),
    ], [("close", "C", "Add")]),
    ("C's list windows close when C loses its admin rights", [
        ("command", "C", "Ban list", 32844),
        ("window", "C", "Add"),
        ("menu", "C", 111),
        ("window", "C", "Connections"),
        ("send", "fs", "092"),
        ("no_window", "C", "Connections"),
        ("no_window", "C", "Ban list"),
        ("no_window", "C", "Add"),
    ], [("close", "C", "Connections"), ("close", "C", "Ban list"), ("close", "C", "Add")]),
    ("Exit (32780) ends C", [
        ("responsive", "C", 90),
        ("exit", "C", 60),
    ]),
]

# The update check, run by tests/e2e/run --isolated inside a network namespace
# of its own: the update server's built-in address is on its loopback device,
# answered by the responder, and nothing can leave.
ISOLATED_CHECKS = [
    ("with \"Check for new version\" off nobody is asked", [
        ("responder", "HTTP/1.1 200 OK\n\n1.18"),
        ("prepare", "V", INSTANCE_V),
        ("launch", "V"),
        ("sleep", 3),
        ("requests", ""),
        ("exit", "V"),
    ]),
    ("the update check asks once and shows a newer version as a pop-up, with pop-ups off", [
        ("prepare", "U", INSTANCE_U),
        ("launch", "U"),
        ("expect", "U", POPUP, "get-text", 1006, UPDATE_NOTICE),
        ("expect", "U", POPUP, "is-visible", "visible"),
        ("requests", "GET /programs/info.txt HTTP/1.1\nHost: www.vorlan.net\n\n|"),
        ("shot", "U-update-notice"),
        ("exit", "U"),
    ]),
]

# The driver's own commands on a fixture window with the same kinds of
# controls, run first: a broken driver fails here, not in the checks above.
FIXTURE = {"executable": "fixture", "program": "vorlan-e2e-fixture.exe", "caption": "Fixture"}
DRIVER_CHECKS = [
    ("driver: launch, rich edit text, change notification, default button, Enter, tree items, selection, captions", [
        ("prepare", "F", FIXTURE),
        ("launch", "F"),
        ("view", "F", "main", r"\A\nfixture ready\Z"),
        ("set_text", "F", "main", 1001, "a" + S + "b"),
        ("expect", "F", "main", "get-text", 1001, "ab"),
        ("type", "F", "main", "hello " + S + " world"),
        ("view", "F", "main", r"\nsent: hello  world"),
        ("enter", "F", "main", "by enter"),
        ("view", "F", "main", r"\nsent: by enter"),
        ("shot", "fixture"),
        ("tree", "F", "main", 1029, ["Admins", "Admins/Alpha", "Normal", "Normal/Raw " + S + " sep"]),
        ("tree_select", "F", "main", 1029, "Alpha"),
        ("view", "F", "main", r"\nselected: Alpha"),
        ("menu", "F", 40001),
        ("window", "F", r"re:Fixture - ren.*"),
        ("close", "F", "Fixture - renamed"),
        ("expect", "F", "Fixture - renamed", "is-visible", "hidden"),
        ("stop", "F"),
    ]),
]
# Raw clients against the headless server (tests/e2e/run --self-test).
SERVER_CHECKS = [
    ("raw clients against the headless server under Wine: log-in, levels by password, relay, close", [
        ("prepare", "S", {"executable": "server", "program": "vorlan-server.exe",
                          "options": {17: "<<port>>", 49: "pw"}}),
        ("start", "S"),
        ("wait_listening", "S"),
        ("raw_login", "nobody", "Nobody", "", "refused"),
        ("raw_login", "one", "One", "pw"),
        ("raw_login", "two", "  Two ", "pw"),
        ("got", "one", "01<<self:two>>" + S + "3Two"),
        ("send", "one", "020line one"),
        ("got", "two", "04<<id:One>>" + S + "0line one"),
        ("send", "two", "11<<id:One>>" + S + "2private"),
        ("got", "one", "13<<self:two>>" + S + "2private"),
        ("stop", "S"),
        ("closed", "one"),
    ]),
]


# Timing mode (tests/e2e/run --bench, bench/admin-lists.sh): H hosts a full
# ban list, 50000 entries with 200-character addresses and descriptions
# (about 21 MB on the wire), and then 1000 connections; each list window is
# refreshed and timed to its last row, with the longest stall of H's main
# window meanwhile. Figures only: nothing here fails on time.
FULL_BAN_LIST = ["%d%s%s%s%s" % (n, S, ("%05d." % n).ljust(200, "a"), S, ("ban %05d " % n).ljust(200, "d"))
                 for n in range(50000)]
INSTANCE_H = {
    "options": {2: 1, 3: 1, 4: "127.0.0.1", 17: "<<port>>", 37: "127.0.0.1"},
    "files": {"profile.vr": ["Host", "", "", "", "", "", "", ""], "banlist.vr": FULL_BAN_LIST,
              "recentservers.vr": []},
}
BENCH_CHECKS = [
    ("timing: 50000 bans", [
        ("prepare", "H", INSTANCE_H),
        ("launch", "H"),
        ("open_list", "H", 112, "Ban list", 50000),
        ("time_refresh", "H", "Ban list", 32843, 50000, "50000 bans"),
        ("shot", "H-full-ban-list"),
        ("time_refresh", "H", "Ban list", 32843, 50000, "50000 bans, again"),
        ("close", "H", "Ban list"),
    ]),
    ("timing: 1000 connections", [
        ("raw_connections", 999),  # with H's own client, the server's 1000
        ("open_list", "H", 111, "Connections", 1001),  # and the "Admins" row
        ("time_refresh", "H", "Connections", 32840, 1001, "1000 connections"),
        ("shot", "H-1000-connections"),
        ("time_refresh", "H", "Connections", 32840, 1001, "1000 connections, again"),
    ]),
]


# Timing mode (tests/e2e/run --bench-room, bench/busy-room.sh): R reads a
# scripted server that writes bursts of 1000, 10000 and 100000 main-chat lines
# from three speakers as fast as R reads them, each followed by a version
# query whose answer marks the end of R's work. Logging is on. Figures only.
ROOM_BENCH_CHECKS = [
    ("timing: a busy room", [
        ("fake_server", "rs"),
        ("prepare", "R", {"options": {2: 0, 3: 1, 4: "127.0.0.1", 17: "<<rs.port>>"},
                          "files": {"profile.vr": ["Reader", "", "", "", "", "", "", ""]}}),
        ("launch", "R"),
        ("got", "rs", "00Reader" + S),
        ("send", "rs", "002" + S + "0Reader" + S + "Available1\0" + "001" + S + "3Ann" + S + "Available0\0" +
         "003" + S + "3Ben" + S + "Available0\0" + "004" + S + "3Cleo" + S + "Available0"),
        ("send", "rs", "041" + S + "0ready"),
        ("view", "R", "main", r"\n<T>Ann: ready"),
        ("time_burst", "rs", "R", 1000),
        ("time_burst", "rs", "R", 10000),
        ("time_burst", "rs", "R", 100000),
        ("shot", "R-after-the-bursts"),
        ("count_lines", "R", MAIN_LOG, "of a busy room"),
    ]),
]


# Timing mode (tests/e2e/run --bench-transfer, bench/transfer-wine.sh): A
# sends a 1 GiB file to B at buffer "1 MB" through the windows, timed from B's
# accept to B's "File transfer complete"; the bytes are compared afterwards.
TRANSFER_MIB = 1024
TRANSFER_BENCH_CHECKS = [
    ("timing: 1 GiB from one instance to another", [
        ("prepare", "A", dict(INSTANCE_A, options={**INSTANCE_A["options"], 38: "1 MB"})),
        ("launch", "A"),
        ("wait_listening", "A"),
        ("prepare", "B", dict(INSTANCE_B, options={**INSTANCE_B["options"], 38: "1 MB"})),
        ("launch", "B"),
        ("tree", "A", "main", 1029, ["Admins/Alpha.*", ".*/Bravo.*"], 30),
        ("write_bytes", "A", "big.bin", TRANSFER_MIB << 20),
        ("tree_select", "A", "main", 1029, "Bravo"),
        ("menu", "A", 32826),
        ("window", "A", "Open file"),
        ("set-text", "A", "Open file", 1010, r"<<win:A>>\big.bin"),
        ("window", "A", "Open file - big.bin"),
        ("click", "A", "Open file - big.bin", 1006),
        ("click", "A", "Open file - big.bin", 1005),
        ("expect", "A", "Open file - big.bin", "get-check", 1005, "1"),
        ("press", "A", "Open file - big.bin", 1012),
        ("window", "B", "Save file - big.bin"),
        ("syscommand", "B", "Save file - big.bin", SC_RESTORE),
        ("set-text", "B", "Save file - big.bin", 1007, r"<<win:B>>\got.bin"),
        ("time_transfer", "B", "Save file - big.bin", 1009, "B", "(100%) got.bin - receive", TRANSFER_MIB << 20),
        ("same_bytes", "B", "got.bin", "A", "big.bin", 120),
    ]),
]
