"""Program folders for the instances under test: a copy of Vorlan.exe with
settings files written for the test, and access to what the program writes."""
import os
import re
import shutil

# "options.vr", line by line (49 lines): quiet settings for a test run, with
# logging and timestamps on. Instances override lines by number.
BASE_OPTIONS = [
    "0",            # 1 check for new version
    "0",            # 2 start server
    "0",            # 3 connect to specified host
    "127.0.0.1",    # 4 host
    "0",            # 5 reconnect
    "0",            # 6 popup
    "0",            # 7 popup sound
    "1",            # 8 main chat logging
    "0",            # 9 message sound
    "1",            # 10 private chat logging
    "1",            # 11 timestamps
    "0",            # 12 open links on click
    "0",            # 13 close when transfer complete
    "0",            # 14 use specified browser
    "",             # 15 browser path
    "1",            # 16 use Internet Explorer
    "5555",         # 17 chat port
    "127.0.0.1",    # 18 main server 1
    "localhost",    # 19 main server 2
    "760", "560", "80", "160", "0",       # 20-24 main window
    "480", "360", "0",                    # 25-27 private chat window
    "520", "360", "0",                    # 28-30 connections window
    "520", "360", "0",                    # 31-33 ban list window
    "480", "400", "0",                    # 34-36 browse window
    "127.0.0.1",    # 37 last server address
    "64 KB",        # 38 send buffer size
    "1", "0",       # 39-40 send modes
    "0", "", "0", "",  # 41-44 port ranges and folders
    "Welcome to Vorlan",  # 45 topic
    "", "", "", "",       # 46-49 passwords
]
assert len(BASE_OPTIONS) == 49


def wine_path(path):
    """The path as Wine's programs see it (drive Z: is the host's root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class ProgramFolder:
    def __init__(self, path, executable, colors_file, executable_name="Vorlan.exe"):
        self.path = path
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        shutil.copy2(executable, os.path.join(path, executable_name))
        # The skin bitmaps and sounds that the build puts beside the program.
        for folder in ("Images", "Sounds"):
            source = os.path.join(os.path.dirname(executable), folder)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(path, folder))
        if os.path.exists(colors_file):
            shutil.copy2(colors_file, os.path.join(path, "colors.vr"))

    @property
    def wine_path(self):
        return wine_path(self.path)

    def file(self, relative):
        return os.path.join(self.path, *relative.split("/"))

    def write(self, relative, data):
        full = self.file(relative)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as handle:
            handle.write(data)

    def read(self, relative):
        try:
            with open(self.file(relative), "rb") as handle:
                return handle.read()
        except OSError:
            return None

    def exists(self, relative):
        return os.path.exists(self.file(relative))

    def write_options(self, overrides):
        lines = list(BASE_OPTIONS)
        for number, value in overrides.items():
            lines[number - 1] = str(value)
        self.write("options.vr", "\r\n".join(lines).encode("latin-1"))

    def write_lines(self, relative, lines):
        self.write(relative, "\r\n".join(lines).encode("latin-1"))

    def option_lines(self):
        data = self.read("options.vr")
        if data is None:
            return None
        return [line.replace("\r", "") for line in data.decode("latin-1").split("\n")]


def log_time_pattern():
    """LogTimestamp: dd.mm.yyyy hh:mm."""
    return r"\d\d\.\d\d\.\d{4} \d\d:\d\d"


def expand_log_pattern(pattern):
    return pattern.replace("<TS>", log_time_pattern())


def view_pattern(pattern):
    """<T> stands for the view's time prefix, "[hh:mm] "."""
    return pattern.replace("<T>", r"\[\d\d:\d\d\] ")


def matches(pattern, text):
    return re.search(pattern, text, re.DOTALL) is not None
