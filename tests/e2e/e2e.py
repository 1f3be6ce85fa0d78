"""Runs the end-to-end checks of checks.py (called by tests/e2e/run once Xvfb,
the Wine desktop and vorlan-driver.exe are up): each check is a name and
steps, run in order by the step_<verb> methods below; a verb without a
method is a driver command on a window. Prints PASS/FAIL per check and the
closing line "e2e: N passed, N failed"; exits 0 only when none failed."""
import argparse
import os
import random
import re
import shutil
import socket
import subprocess
import sys
import threading
import time
import traceback
import urllib.parse

from checks import (BENCH_CHECKS, CHECKS, DRIVER_CHECKS, ISOLATED_CHECKS, ROOM_BENCH_CHECKS, SERVER_CHECKS,
                    TRANSFER_BENCH_CHECKS)

SEP = b"\xac"
VK_RETURN = 0x0D
# "options.vr" line by line (49 lines): quiet settings for a test run, with
# logging and timestamps on. Instances override lines by number.
BASE_OPTIONS = (["0", "0", "0", "127.0.0.1", "0", "0", "0", "1", "0", "1", "1", "0", "0", "0", "", "1", "5555",
                 "127.0.0.1", "localhost", "760", "560", "80", "160", "0", "480", "360", "0", "520", "360", "0",
                 "520", "360", "0", "480", "400", "0", "127.0.0.1", "64 KB", "1", "0", "0", "", "0", "",
                 "Welcome to Vorlan", "", "", "", ""])


class StepFailed(Exception):
    pass


def free_port():
    """A free port below Linux's ephemeral range, so that no outgoing
    connection takes it before the program binds it."""
    while True:
        port = random.randint(20000, 32000)
        try:
            with socket.socket() as probe:
                probe.bind(("0.0.0.0", port))
            return port
        except OSError:
            continue


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def text_lines(data):
    return None if data is None else [line.replace("\r", "") for line in data.decode("latin-1").split("\n")]


def poll(probe, timeout, what):
    """Calls probe() until it returns (True, detail) or the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        done, detail = probe()
        if done:
            return detail
        if time.monotonic() > deadline:
            text = repr(detail)
            raise StepFailed("%s; last seen: %s" % (what, text if len(text) < 300 else text[:150] + " ... " + text[-150:]))
        time.sleep(0.15)


class Driver:
    """Client of vorlan-driver.exe's serve mode: a line of percent-encoded words per command."""

    def __init__(self, port):
        deadline = time.monotonic() + 60
        while True:
            try:
                self.socket = socket.create_connection(("127.0.0.1", port), timeout=120)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise StepFailed("vorlan-driver did not answer on port %d" % port) from None
                time.sleep(0.1)
        self.stream = self.socket.makefile("rwb")

    def call(self, *words, pid=None, with_menu=False):
        """(ok, output); with_menu: only windows with a menu bar (a program's main window)."""
        if with_menu:
            words = ("--with-menu", 1) + words
        if pid is not None:
            words = ("--pid", pid) + words
        line = " ".join("w" + urllib.parse.quote(str(w).encode("latin-1"), safe="") for w in words)
        self.stream.write(line.encode("ascii") + b"\n")
        self.stream.flush()
        status, _, out = self.stream.readline().decode("ascii").rstrip("\n").partition(" ")
        if not status:
            raise StepFailed("vorlan-driver closed the connection")
        return status == "OK", urllib.parse.unquote_to_bytes(out).decode("latin-1")


class Peer:
    """A chat-protocol peer on a socket: a raw client that logs in, or a
    scripted server for one client. Records every frame it receives."""

    def __init__(self, port, name=None, password="", bind="127.0.0.2"):
        self.frames, self.closed, self.connection = [], False, None
        self.arrived = []  # when each frame came, by time.monotonic()
        if name is None:  # a scripted server: accepts one client on its port
            self.listener = socket.create_server(("127.0.0.1", port))
            threading.Thread(target=self.read, args=(True,), daemon=True).start()
            return
        self.connection = socket.socket()
        self.connection.bind((bind, 0))
        self.connection.settimeout(10)
        self.connection.connect(("127.0.0.1", port))
        self.connection.settimeout(None)
        threading.Thread(target=self.read, daemon=True).start()
        self.send(("00" + name + "\xac" + password + "\0").encode("latin-1"))

    def read(self, accept=False):
        pending = b""
        try:
            if accept:
                self.connection, _ = self.listener.accept()
            while chunk := self.connection.recv(65536):
                *complete, pending = (pending + chunk).split(b"\0")
                complete = [f for f in complete if f]
                self.arrived.extend([time.monotonic()] * len(complete))
                self.frames.extend(complete)
        except OSError:
            pass
        self.closed = True

    def send(self, data):
        self.connection.sendall(data)

    def wait_for(self, regex, timeout, since=0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if any(regex.fullmatch(frame) for frame in self.frames[since:]):
                return True
            if self.closed and self.connection:
                return False
            time.sleep(0.05)
        return False

    def wait_closed(self, timeout):
        deadline = time.monotonic() + timeout
        while not self.closed and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.closed

    def users(self):
        """id -> name from the user-list entries ("00") and joins ("01")."""
        return {int(f[2:].split(SEP)[0]): f.split(SEP)[1][1:] for f in list(self.frames)
                if f[:2] in (b"00", b"01") and SEP in f and f[2:].split(SEP)[0].isdigit()}

    def close(self):
        for s in (self.connection, getattr(self, "listener", None)):
            if s is not None:
                try:
                    s.shutdown(socket.SHUT_RDWR)  # wakes the reader; close alone would not end the connection
                except OSError:
                    pass
                s.close()


class Session:
    def __init__(self, driver, options):
        self.driver, self.options = driver, options
        self.instances = {}   # name -> {"path", "config", "pid"}
        self.peers = {}       # raw clients and scripted servers by name
        self.marks = {}       # peer -> its frame count when the current check began
        self.vars = {"port": str(free_port())}
        self.shot_number = 0
        self.responders = []  # the update server's stand-ins

    def expand(self, text):
        """<<port>>, <<fs.port>>, <<id:NAME>> (a user's id as a raw client saw
        it), <<self:CLIENT>> (a raw client's own id), <<A:20>> (line 20 of A's options now)."""
        def value(match):
            kind, _, key = match.group(1).rpartition(":")
            if kind == "id":
                ids = [i for peer in self.peers.values() for i, n in peer.users().items() if n == key.encode("latin-1")]
                if not ids:
                    raise StepFailed("no user %r in the raw clients' user lists" % key)
                return str(ids[0])
            if kind == "win":  # an instance's program folder as the program sees it
                return wine_path(self.instances[key]["path"])
            if kind == "self":
                own = [f for f in self.peer(key).frames if f[:2] == b"00" and f.endswith(b"1") and f.count(SEP) == 2]
                return own[0][2:].split(SEP)[0].decode() if own else "none"
            if kind:
                return (self.lines(kind, "options.vr") or [""] * 99)[int(key) - 1]
            return self.vars[key]
        return re.sub(r"<<([^>]+)>>", value, str(text))

    def regex(self, pattern):
        pattern = self.expand(pattern).replace("<TS>", r"\d\d\.\d\d\.\d{4} \d\d:\d\d")
        return re.compile(pattern.encode("latin-1"), re.DOTALL)

    def view_regex(self, pattern):
        return re.compile(self.expand(pattern).replace("<T>", r"\[\d\d:\d\d\] "), re.DOTALL)

    def peer(self, name):
        if name not in self.peers:
            raise StepFailed("no raw client or server %s" % name)
        return self.peers[name]

    def instance(self, name):
        inst = self.instances.get(name)
        if inst is None or inst["pid"] is None:
            raise StepFailed("instance %s is not running" % name)
        return inst

    def file(self, name, relative):
        return os.path.join(self.instances[name]["path"], *relative.split("/"))

    def read(self, name, relative):
        try:
            with open(self.file(name, relative), "rb") as handle:
                return handle.read()
        except OSError:
            return None

    def lines(self, name, relative):
        return text_lines(self.read(name, relative))

    def call(self, name, command, window, *args):
        """A driver command on a window of an instance: "main" or a caption."""
        inst = self.instance(name)
        main = window == "main"
        caption = inst["config"].get("caption", "Vorlan") if main else self.expand(window)
        ok, out = self.driver.call(command, caption, *[self.expand(a) for a in args], pid=inst["pid"],
                                   with_menu=main and "caption" not in inst["config"])
        if not ok:
            raise StepFailed("%s %s %s: %s" % (name, command, window, out))
        return out

    def text(self, name, window, control=1046):
        return self.call(name, "get-text", window, control).replace("\r\n", "\n").replace("\r", "\n")

    def children(self, name, window):
        """(id, visible, [x, y, width, height], text) for each; labels may share an id."""
        found = []
        for line in self.call(name, "children", window).splitlines():
            ident, visible, rect, text = line.split("\t")
            found.append((int(ident), visible == "visible", [int(v) for v in rect.split()], text))
        return found

    def run_step(self, verb, *args):
        handler = getattr(self, "step_" + verb, None)
        if handler is not None:
            handler(*args)
        else:
            self.call(args[0], verb.replace("_", "-"), *args[1:])

    # ----- programs -----------------------------------------------------------
    def step_prepare(self, name, config):
        """A program folder under work/: a copy of the program with the settings files of config."""
        path = os.path.join(self.options.work, name)
        executable = getattr(self.options, config.get("executable", "executable"))
        program = config.get("program", "Vorlan.exe")
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        shutil.copy2(executable, os.path.join(path, program))
        for folder in ("Images", "Sounds"):  # skin bitmaps and sounds beside the program
            source = os.path.join(os.path.dirname(executable), folder)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(path, folder))
        shutil.copy2(self.options.colors, os.path.join(path, "colors.vr"))
        self.instances[name] = {"path": path, "config": config, "pid": None}
        options = list(BASE_OPTIONS)
        for number, value in config.get("options", {}).items():
            options[number - 1] = str(value)
        for relative, lines in dict(config.get("files", {}), **{"options.vr": options}).items():
            with open(self.file(name, relative), "wb") as handle:
                handle.write("\r\n".join(self.expand(line) for line in lines).encode("latin-1"))

    def step_start(self, name):
        inst = self.instances[name]
        ok, out = self.driver.call("launch", wine_path(inst["path"]), inst["config"].get("program", "Vorlan.exe"))
        if not ok:
            raise StepFailed("launch %s: %s" % (name, out))
        inst["pid"] = int(out)

    def step_launch(self, name):
        """start, then wait until the main window is shown: only then are its controls all there."""
        self.step_start(name)
        self.call(name, "wait-window", "main", 30000)
        self.step_expect(name, "main", "is-visible", "re:visible|maximized", timeout=30)

    def step_responder(self, answer):
        """The update server on its built-in address, port 80: answers every
        request with `answer`; <<requests>> is what it received, each followed
        by "|". Only in an isolated run, whose network namespace has the
        address on its loopback device and no other way out."""
        with open("/proc/net/route") as routes:
            if not self.options.isolated or len(routes.readlines()) > 1:
                raise StepFailed("the update server's address is local only in an isolated run (no routes out)")
        server = socket.create_server(("192.0.2.17", 80))
        self.vars["requests"] = ""
        self.responders.append(server)

        def serve():
            try:
                while True:
                    connection, _ = server.accept()
                    with connection:
                        request = connection.recv(4096)
                        self.vars["requests"] += request.decode("latin-1") + "|"
                        connection.sendall(answer.encode("latin-1"))
            except OSError:
                pass
        threading.Thread(target=serve, daemon=True).start()

    def step_requests(self, expected):
        """What the responder received so far, exactly."""
        if self.vars.get("requests") != expected:
            raise StepFailed("the responder received %r, expected %r" % (self.vars.get("requests"), expected))

    def step_stop(self, name):
        self.driver.call("kill", self.instance(name)["pid"])
        self.instances[name]["pid"] = None

    def step_exit(self, name, timeout=20, command="menu"):
        """Exit (32780), or with command "end-session" the end of the Windows session."""
        inst = self.instance(name)
        # A busy program may handle the command after the driver stopped waiting for it.
        words = (command, "Vorlan", 32780) if command == "menu" else (command, "Vorlan")
        self.driver.call(*words, pid=inst["pid"], with_menu=True)
        ok, out = self.driver.call("wait-exit", inst["pid"], timeout * 1000)
        if not ok:
            raise StepFailed("%s still runs after %s: %s" % (name, command, out))
        inst["pid"] = None

    def step_alive(self, name):
        if self.driver.call("wait-exit", self.instance(name)["pid"], 0)[0]:
            raise StepFailed("%s has ended" % name)

    def step_responsive(self, name, timeout=60):
        """Waits until the main window answers messages again."""
        poll(lambda: self.driver.call("get-text", "Vorlan", 1001, pid=self.instance(name)["pid"], with_menu=True), timeout, "%s does not answer" % name)

    def step_wait_listening(self, name, timeout=20):
        def probe():
            try:
                with socket.create_connection(("127.0.0.1", int(self.vars["port"])), timeout=1):
                    return True, "listening"
            except OSError as error:
                return False, str(error)
        poll(probe, timeout, "%s does not listen on port %s" % (name, self.vars["port"]))

    # ----- raw clients and scripted servers -------------------------------
    def step_raw_login(self, client, name, password="", expect="accepted", bind="127.0.0.2"):
        try:
            peer = Peer(int(self.vars["port"]), name, password, bind)
        except OSError as error:
            if expect != "accepted":
                return  # refused before the log-in: nobody listens
            raise StepFailed("raw client %s cannot connect: %s" % (client, error)) from None
        if expect == "accepted":
            self.peers[client] = peer
            if not peer.wait_for(re.compile(b"00.*1", re.DOTALL), 10):
                raise StepFailed("raw client %s got no user list (closed: %s)" % (client, peer.closed))
        else:
            got = peer.wait_for(re.compile(b"00.*", re.DOTALL), 3)
            closed = peer.wait_closed(5)
            peer.close()
            if got or not closed:
                raise StepFailed("log-in of %s with password %r was not refused" % (name, password))

    def step_fake_server(self, name):
        """A scripted server for one client; its port is <<NAME.port>>."""
        port = free_port()
        self.peers[name] = Peer(port)
        self.vars[name + ".port"] = str(port)

    def step_send(self, peer, text, end="\0"):
        """A message and its zero byte (end "": unterminated)."""
        self.peer(peer).send((self.expand(text) + end).encode("latin-1"))

    def step_got(self, peer, pattern, timeout=20):
        """A frame received in this check matches the whole pattern."""
        if not self.peer(peer).wait_for(self.regex(pattern), timeout, self.marks.get(peer, 0)):
            frames = [f.decode("latin-1")[:200] for f in self.peer(peer).frames[-6:]]
            raise StepFailed("%s never got %r; last frames: %r" % (peer, pattern, frames))

    def step_raw_none(self, peer, pattern, settle=1.0):
        time.sleep(settle)
        regex = self.regex(pattern)
        if any(regex.fullmatch(f) for f in self.peer(peer).frames[self.marks.get(peer, 0):]):
            raise StepFailed("%s got %r" % (peer, pattern))

    def step_raw_burst(self, peer, count, template, per_second=8):
        """count lines, template % n, at most per_second a second: well below the
        flood limit, because a program busy drawing them reads late, and two
        batches that wait in its socket together count as one receive."""
        for n in range(count):
            self.step_send(peer, template % n)
            if n % per_second == per_second - 1:
                time.sleep(1.1)

    def step_closed(self, peer, timeout=15):
        if not self.peer(peer).wait_closed(timeout):
            raise StepFailed("the server did not close %s" % peer)

    def step_drop(self, peer):
        self.peers.pop(peer).close()

    # ----- windows ------------------------------------------------------------
    def step_expect(self, name, window, command, *args, timeout=5):
        """The output of a driver command becomes the last argument: a text,
        "re:" and a regular expression, or a number (the output's length)."""
        *args, want = args
        want = self.expand(want) if isinstance(want, str) else want

        def probe():
            out = self.call(name, command, window, *args)
            if isinstance(want, int):
                return len(out) == want, "%d characters: %s" % (len(out), out)
            return (re.fullmatch(want[3:], out) if want.startswith("re:") else out == want), out
        poll(probe, timeout, "%s %s %s is not %r" % (name, command, window, want))

    def step_expect_slow(self, name, window, command, *args):
        """expect with a minute's patience: a transfer's end under a busy Wine."""
        self.step_expect(name, window, command, *args, timeout=60)

    def step_type(self, name, window, text):
        """Sets the input line (1001) and sends it with the hidden default button (1037)."""
        self.call(name, "set-text", window, 1001, text)
        self.call(name, "press", window, 1037)
        self.step_expect(name, window, "get-text", 1001, "")

    def step_enter(self, name, window, text):
        """As type, but sends with the Enter key in the input line."""
        self.call(name, "set-text", window, 1001, text)
        self.call(name, "key", window, 1001, VK_RETURN)
        self.step_expect(name, window, "get-text", 1001, "")

    def step_typed(self, name, window, text):
        """Types text a character at a time and waits until the program has
        handled every character (the text stops changing)."""
        self.call(name, "type-chars", window, 1001, text)
        seen = [None]

        def settled():
            now = self.call(name, "get-text", window, 1001)
            done = now == seen[0]
            seen[0] = now
            if not done:
                time.sleep(0.3)
            return done, now
        poll(settled, 60, "the typed text did not settle")

    def step_view(self, name, window, pattern, timeout=10):
        """The view (1046) shows the pattern somewhere; <T> is the time prefix "[hh:mm] "."""
        regex = self.view_regex(pattern)
        poll(lambda: (lambda text: (regex.search(text) is not None, text))(self.text(name, window)), timeout,
             "%s's %s view never showed %r" % (name, window, pattern))

    def step_view_not(self, name, window, pattern, settle=1.0):
        time.sleep(settle)
        text = self.text(name, window)
        if self.view_regex(pattern).search(text):
            raise StepFailed("%s's %s view shows %r: %r" % (name, window, pattern, text[-300:]))

    def step_menu(self, name, command):
        self.call(name, "menu", "main", command)

    def step_window(self, name, caption, timeout=10):
        self.call(name, "wait-window", caption, int(timeout * 1000))

    def step_no_window(self, name, caption, timeout=5):
        self.call(name, "wait-gone", caption, int(timeout * 1000))

    def step_tree(self, name, window, control, expected, timeout=10):
        """expected: regexes of item paths ("Admins/Alpha.*") that must all exist."""
        def probe():
            paths = self.tree_paths(name, window, control)
            missing = [p for p in expected if not any(re.fullmatch(self.expand(p), q) for q in paths)]
            return not missing, {"missing": missing, "items": paths}
        poll(probe, timeout, "%s's tree %d lacks items" % (name, control))

    def tree_paths(self, name, window, control):
        paths, stack = [], []
        for line in self.call(name, "tree-items", window, control).splitlines():
            depth, label = line.split("\t")[:2]
            del stack[int(depth):]
            stack.append(label)
            paths.append("/".join(stack))
        return paths

    def step_tree_lacks(self, name, window, control, pattern, timeout=10):
        """No item path matches the pattern (waiting for one to go)."""
        def probe():
            paths = self.tree_paths(name, window, control)
            return not any(re.fullmatch(self.expand(pattern), p) for p in paths), paths
        poll(probe, timeout, "%s's tree %d still holds %r" % (name, control, pattern))

    def step_tree_is(self, name, window, control, expected, timeout=10):
        """The item paths are exactly these, in this order."""
        want = [self.expand(p) for p in expected]
        poll(lambda: (lambda paths: (paths == want, paths))(self.tree_paths(name, window, control)), timeout,
             "%s's tree %d is not %r" % (name, control, want))

    def step_command(self, name, window, command):
        """A command sent to a window other than the main window, as its menu sends it."""
        self.call(name, "menu", window, command)

    def step_controls(self, name, window, expected):
        """expected: control id -> its text (None: any); each must exist and be visible."""
        found = {ident: rest for ident, *rest in self.children(name, window)}
        wrong = ["%d: %r" % (i, found.get(i)) for i, text in expected.items()
                 if i not in found or not found[i][0] or text not in (None, found[i][2])]
        if wrong:
            raise StepFailed("controls of %s missing, hidden or wrong: %s" % (window, "; ".join(wrong)))

    def step_labels(self, name, window, texts):
        """Every text is the text of a visible control of the window."""
        shown = {text for _, visible, _, text in self.children(name, window) if visible}
        if set(texts) - shown:
            raise StepFailed("%s shows no %r (it shows %r)" % (window, sorted(set(texts) - shown), sorted(shown)))

    def step_outer_size(self, name, window, width, height):
        size = self.call(name, "rect", window).split()[2:4]
        if size != [self.expand(width), self.expand(height)]:
            raise StepFailed("outer size %s, expected %sx%s" % ("x".join(size), width, height))

    def step_layout(self, name, expected, window="main"):
        """expected: control id -> "x, y, width, height" as expressions of cx,
        cy (client size), P (servers pane height), U (user pane width); with
        "centred" the control's centre is the client area's, to 2 pixels."""
        cx, cy = [int(v) for v in self.call(name, "rect", window).split("\t")[1].split()[2:4]]
        options = self.lines(name, "options.vr")
        values = {"cx": cx, "cy": cy, "P": int(options[21]), "U": int(options[22])}
        children = {ident: rest for ident, *rest in self.children(name, window)}
        wrong = []
        for control, formula in expected.items():
            rect = children.get(control, (0, None))[1]
            if formula == "centred":
                if rect is None or abs(2 * rect[0] + rect[2] - cx) > 4:
                    wrong.append("%d at %s is not centred" % (control, rect))
            elif rect != [eval(part, {}, values) for part in formula.split(",")]:  # noqa: S307 - our own data
                wrong.append("%d at %s, expected %s" % (control, rect, formula))
        if wrong:
            raise StepFailed("layout for client %dx%d: %s" % (cx, cy, "; ".join(wrong)))

    # ----- files --------------------------------------------------------------
    def step_file(self, name, relative, pattern, timeout=5):
        """The file matches the whole pattern (<TS>: a log timestamp); None: it does not exist."""
        if pattern is None:
            if os.path.exists(self.file(name, relative)):
                raise StepFailed("%s's %s exists" % (name, relative))
            return
        regex = self.regex(pattern)
        poll(lambda: (lambda data: (data is not None and regex.fullmatch(data) is not None, data))(
            self.read(name, relative)), timeout, "%s's %s does not match %r" % (name, relative, pattern))

    def step_file_lines(self, name, relative, expected, count=None):
        """Lines by number hold these values; with count, the file has that many lines."""
        lines = self.lines(name, relative) or []
        if count is not None and len(lines) != count:
            raise StepFailed("%s's %s has %d lines, expected %d" % (name, relative, len(lines), count))
        for number, value in expected.items():
            seen = lines[number - 1] if number <= len(lines) else "(no such line)"
            if seen != self.expand(value):
                raise StepFailed("%s line %d is %r, expected %r" % (relative, number, seen, value))

    def step_shot(self, label):
        time.sleep(0.5)  # let windows that just appeared finish painting
        self.shot_number += 1
        path = os.path.join(self.options.screenshots, "%02d-%s.png" % (self.shot_number, label))
        subprocess.run(["import", "-window", "root", path], check=False, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def step_burst(self, label, seconds):
        """Screenshots back to back for a few seconds, to catch a movement."""
        deadline = time.monotonic() + seconds
        frame = 0
        while time.monotonic() < deadline:
            frame += 1
            path = os.path.join(self.options.screenshots, "%02d-%s-%02d.png" % (self.shot_number + 1, label, frame))
            subprocess.run(["import", "-window", "root", path], check=False, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.shot_number += 1

    # ----- timing mode (--bench) -----------------------------------------------
    def step_raw_connections(self, count):
        """count plain connections to the chat port that never log in, from
        127.0.0.10 upwards (a hundred per address)."""
        import resource
        soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
        wanted = count + 256
        if soft < wanted and (hard == resource.RLIM_INFINITY or hard >= wanted):
            resource.setrlimit(resource.RLIMIT_NOFILE, (wanted, hard))
        self.bulk = getattr(self, "bulk", [])
        for n in range(count):
            connection = socket.socket()
            connection.bind(("127.0.0.%d" % (10 + n // 100), 0))
            connection.settimeout(10)
            connection.connect(("127.0.0.1", int(self.vars["port"])))
            self.bulk.append(connection)
            if n % 50 == 49:
                time.sleep(0.2)  # the listener accepts at its own pace (backlog 5)

    def step_open_list(self, name, command, caption, count, timeout=600):
        """Shows a list window (the command is refused until the client is an
        admin) and waits until its tree holds count items."""
        started = time.monotonic()
        def shown():
            self.step_menu(name, command)
            return self.driver.call("wait-window", caption, 1000, pid=self.instance(name)["pid"])[0], caption
        poll(shown, 60, "%s never showed %r" % (name, caption))
        poll(lambda: (lambda n: (n >= count, n))(int(self.call(name, "tree-count", caption, 1029))), timeout,
             "%s's %r never held %d items" % (name, caption, count))
        print("BENCH %s: opened with %d items in %.1f s" % (caption, count, time.monotonic() - started), flush=True)

    def step_time_refresh(self, name, caption, command, count, label):
        """"Refresh" until the last of count items shows, with the longest stall of the main window meanwhile."""
        elapsed, stall, probes = self.call(name, "fill-watch", caption, 1029, command, count, 110000).split()
        print("BENCH %s: %s ms from Refresh to the last item, longest main window stall %s ms (%s probes)" %
              (label, elapsed, stall, probes), flush=True)

    def step_time_burst(self, peer, name, count):
        """count main-chat lines of about 70 characters from three speakers,
        written as fast as the program reads them, then a version query: its
        answer marks the moment the program has handled the whole burst."""
        speakers = (1, 3, 4)
        burst = b"".join(b"04%d\xac0line %06d of a busy room, about seventy characters long: lorem ipsum\0" %
                         (speakers[n % 3], n) for n in range(count))
        server = self.peer(peer)
        since = len(server.frames)
        started = time.monotonic()
        server.send(burst)
        written = time.monotonic()
        server.send(b"151\0")
        answer = re.compile(b"141" + SEP + b".*", re.DOTALL)
        if not server.wait_for(answer, 3600, since):
            raise StepFailed("no answer to the version query after %d lines" % count)
        index = next(i for i in range(since, len(server.frames)) if answer.fullmatch(server.frames[i]))
        handled = server.arrived[index] - started
        rss, peak = self.memory(name)
        print("BENCH %d lines: handled in %.2f s (%.0f lines/s), the answer %.0f ms after the last line was written,"
              " memory %s MiB (peak %s MiB)" % (count, handled, count / handled,
                                                 (server.arrived[index] - written) * 1000, rss, peak), flush=True)

    def memory(self, name):
        """Resident and peak resident memory of an instance's process, in MiB (Linux's view of it)."""
        folder = wine_path(self.instances[name]["path"]).lower()
        for entry in os.listdir("/proc"):
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as handle:
                    command = handle.read().decode("latin-1").lower()
                if folder not in command or "vorlan.exe" not in command:
                    continue
                with open("/proc/%s/status" % entry) as handle:
                    status = dict(line.split(":", 1) for line in handle if ":" in line)
                return tuple(int(status[key].split()[0]) // 1024 for key in ("VmRSS", "VmHWM"))
            except (OSError, ValueError, KeyError):
                continue
        return "?", "?"

    def step_time_transfer(self, name, window, button, done_name, done_window, size):
        """Presses the button that starts a transfer and times it to "File
        transfer complete" in done_window."""
        started = time.monotonic()
        self.call(name, "press", window, button)
        def complete():
            try:
                status = self.call(done_name, "get-text", done_window, 1002)
            except StepFailed as error:  # the window's caption reaches 100% only at the end
                return False, str(error)
            return status == "File transfer complete", status
        poll(complete, 3600, "the transfer never completed")
        elapsed = time.monotonic() - started
        print("BENCH %d MiB from accept to complete in %.2f s: %.1f MiB/s" % (size >> 20, elapsed,
                                                                           (size >> 20) / elapsed), flush=True)

    def step_count_lines(self, name, relative, text):
        with open(self.file(name, relative), "rb") as handle:
            print("BENCH %s holds %d lines with %r" % (relative, handle.read().count(text.encode("latin-1")), text),
                  flush=True)
    def step_hover(self, name, first, then, card="Vorlan hover card"):
        """The mouse rests on the user tree's row `first` and moves on to `then`
        sooner than the card's 500 ms: no card meanwhile, then the card under the
        cursor at `then` half a second later; off the tree, it hides again."""
        def card_state():
            return self.call(name, "is-visible", card)

        self.call(name, "point-at-item", "main", 1029, first)
        time.sleep(0.15)
        moved = time.monotonic()
        x, y = [int(v) for v in self.call(name, "point-at-item", "main", 1029, then).split()]
        # Only a card seen sooner than 500 ms after the move is wrong (a slow
        # machine may take longer than that to ask).
        if card_state() != "hidden" and time.monotonic() - moved < 0.45:
            raise StepFailed("a hover card showed before 500 ms over %s or %s" % (first, then))
        poll(lambda: (card_state() == "visible", card_state()), 5, "no hover card over %s" % then)
        waited = time.monotonic() - moved
        if waited < 0.4:
            raise StepFailed("the hover card showed after %.2f s, sooner than 500 ms" % waited)
        left, top = [int(v) for v in self.call(name, "rect", card).split()[:2]]
        if left != x or not y < top <= y + 40:
            raise StepFailed("the hover card is at %d, %d, not under the cursor at %d, %d" % (left, top, x, y))
        self.step_shot("hover-card")
        ok, out = self.driver.call("cursor-to", 0, 0)
        if not ok:
            raise StepFailed(out)
        poll(lambda: (card_state() == "hidden", card_state()), 5, "the hover card stayed after the mouse left")

    def step_sleep(self, seconds):
        time.sleep(seconds)

    # ----- files for the transfers ----------------------------------------------
    def step_write_bytes(self, name, relative, size, prefix_of=None):
        """A file of `size` pseudo-random bytes; with prefix_of (NAME, RELATIVE)
        the first `size` bytes of that file instead."""
        if prefix_of:
            with open(self.file(*prefix_of), "rb") as handle:
                data = handle.read(size)
            with open(self.file(name, relative), "wb") as handle:
                handle.write(data)
            return
        source = random.Random(size)
        with open(self.file(name, relative), "wb") as handle:
            for start in range(0, size, 1 << 24):  # in pieces: a whole GiB is beyond randbytes
                handle.write(source.randbytes(min(1 << 24, size - start)))

    def step_same_bytes(self, name, relative, other, other_relative, timeout=30):
        def probe():
            mine, theirs = self.read(name, relative), self.read(other, other_relative)
            return mine is not None and mine == theirs, "%s vs %s bytes" % (
                None if mine is None else len(mine), None if theirs is None else len(theirs))
        poll(probe, timeout, "%s/%s never held the bytes of %s/%s" % (name, relative, other, other_relative))

    def step_size_between(self, name, relative, low, high):
        """The file exists and its size s is low < s < high."""
        size = os.path.getsize(self.file(name, relative)) if os.path.exists(self.file(name, relative)) else None
        if size is None or not low < size < high:
            raise StepFailed("%s/%s has size %s, not between %d and %d" % (name, relative, size, low, high))

    def cleanup(self):
        for peer in self.peers.values():
            peer.close()
        for connection in getattr(self, "bulk", []):
            connection.close()
        for inst in self.instances.values():
            if inst["pid"] is not None:
                self.driver.call("kill", inst["pid"])
        for server in self.responders:
            server.close()

    def run_check(self, name, steps, on_fail=()):
        """True when every step passed; a failure takes a screenshot and runs on_fail."""
        self.marks = {peer: len(p.frames) for peer, p in self.peers.items()}  # earlier frames are no evidence
        for step in steps:
            try:
                self.run_step(*step)
            except (StepFailed, OSError) as error:
                print("FAIL %s: step %s: %s" % (name, step[0], error), flush=True)
            except Exception:  # a fault of the harness itself counts as a failure
                print("FAIL %s: harness error\n%s" % (name, traceback.format_exc()), flush=True)
            else:
                continue
            self.step_shot("FAILED-" + re.sub(r"[^A-Za-z0-9]+", "-", name)[:40].strip("-"))
            for undo in on_fail:
                try:
                    self.run_step(*undo)
                except (StepFailed, OSError):
                    pass
            return False
        return True


def main():
    parser = argparse.ArgumentParser()
    for option in ("--driver-port", "--executable", "--colors", "--work", "--screenshots", "--fixture", "--server"):
        parser.add_argument(option, required=option not in ("--fixture", "--server"))
    parser.add_argument("--self-test", action="store_true", help="the driver's and the raw clients' own checks only")
    parser.add_argument("--isolated", action="store_true", help="the update check's checks (in a network namespace)")
    parser.add_argument("--bench", action="store_true", help="timing mode: the admin list windows filled in full")
    parser.add_argument("--bench-room", action="store_true", help="timing mode: bursts of main-chat lines")
    parser.add_argument("--bench-transfer", action="store_true", help="timing mode: a large file between two instances")
    parser.add_argument("--only", help="only checks whose name holds this text (and those that start programs)")
    parser.add_argument("--free-port", action="store_true", help="print a free port and end")
    if "--free-port" in sys.argv:
        return print(free_port())
    options = parser.parse_args()
    started = time.monotonic()
    try:
        driver = Driver(int(options.driver_port))
    except StepFailed as error:
        print("e2e: %s (log: %s)\ne2e: 0 passed, 1 failed" % (error, os.path.join(options.work, "driver.log")))
        return 1
    session = Session(driver, options)
    # The driver's own checks on the fixture come first: a broken driver
    # fails them, so that it is not taken for a broken program.
    if options.self_test:
        chosen = SERVER_CHECKS
    elif options.isolated:
        chosen = ISOLATED_CHECKS
    elif options.bench:
        chosen = BENCH_CHECKS
    elif options.bench_room:
        chosen = ROOM_BENCH_CHECKS
    elif options.bench_transfer:
        chosen = TRANSFER_BENCH_CHECKS
    else:
        chosen = CHECKS
    checks = DRIVER_CHECKS + chosen
    if options.only:
        checks = [c for c in checks if options.only in c[0] or c in DRIVER_CHECKS or
                  any(s[0] in ("prepare", "launch", "raw_login") for s in c[1])]
    passed = failed = 0
    try:
        for check in checks:
            check_started = time.monotonic()
            if session.run_check(*check):
                print("PASS %s (%.1f s)" % (check[0], time.monotonic() - check_started), flush=True)
                passed += 1
            else:
                failed += 1
    finally:
        session.cleanup()
        driver.call("quit")
    print("e2e: screenshots in %s; %.0f s" % (options.screenshots, time.monotonic() - started))
    print("e2e: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
