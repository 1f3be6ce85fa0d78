"""Runs the checks of checks.py: each check names what it needs (resources in
Vorlan.exe, controls of running windows) and a list of steps. A check whose
windows are not built yet is skipped; once they exist it must pass."""
import os
import random
import re
import socket
import subprocess
import time
import traceback

from .driver import DriverError
from .program import ProgramFolder, expand_log_pattern, matches, view_pattern
from .fakeserver import FakeServer
from .rawclient import RawClient

MAIN_CAPTION = "Vorlan"
VK_RETURN = 0x0D
VK_ESCAPE = 0x1B


class MainCaption(str):
    """The caption of an instance's main window: the driver then looks only at
    windows with a menu bar, so hidden helper windows with the same caption
    are never taken for it."""


class StepFailed(Exception):
    pass


class NotBuilt(Exception):
    pass


class Instance:
    def __init__(self, name, folder, config):
        self.name = name
        self.folder = folder
        self.config = config
        self.pid = None
        self.exited = False


def free_port():
    """A port that nothing listens on, below Linux's ephemeral range (32768 and
    up), so that no outgoing connection takes it before the program binds it."""
    for _ in range(200):
        port = random.randint(20000, 32000)
        try:
            with socket.socket() as probe:
                probe.bind(("0.0.0.0", port))
            return port
        except OSError:
            continue
    raise RuntimeError("no free port between 20000 and 32000")


class Session:
    def __init__(self, driver, settings):
        self.driver = driver
        self.settings = settings          # paths: executable, colors, work, screenshots
        self.instances = {}
        self.raw = {}
        self.fakes = {}
        self.vars = {"port": str(free_port())}
        self.shot_number = 0
        self._resources = {}
        self._controls = {}
        self._marks = {}   # raw client -> its frame count when the current check began

    # ----- values -----------------------------------------------------------
    def expand(self, text):
        """Replaces <<key>> by a session value: <<port>>, <<id:NAME>> (a user's
        id as a raw client saw it), <<self:CLIENT>> (a raw client's own id)."""
        def value(match):
            key = match.group(1)
            if key.startswith("id:"):
                wanted = key[3:].encode("latin-1")
                for client in self.raw.values():
                    for ident, name in client.users().items():
                        if name == wanted:
                            return str(ident)
                raise StepFailed("no user %r in the raw clients' user lists" % key[3:])
            if ":" in key and key.split(":")[0] in self.instances:
                # <<A:20>>: line 20 of instance A's options file as it is now.
                name, number = key.split(":")
                lines = self.instances[name].folder.option_lines() or []
                return lines[int(number) - 1] if int(number) <= len(lines) else ""
            if key.startswith("self:"):
                ident = self.raw_client(key[5:]).own_id()
                if ident is None:
                    raise StepFailed("raw client %s has no id" % key[5:])
                return str(ident)
            return self.vars[key]
        return re.sub(r"<<([^>]+)>>", value, text)

    def instance(self, name):
        inst = self.instances.get(name)
        if inst is None or inst.pid is None:
            raise StepFailed("instance %s is not running" % name)
        return inst

    def raw_client(self, name):
        client = self.raw.get(name)
        if client is None:
            raise StepFailed("raw client %s is not logged in" % name)
        return client

    def caption(self, window, name=None):
        """A window of the steps: "main" (the instance's main window) or a caption."""
        if window != "main":
            return self.expand(window)
        inst = self.instances.get(name)
        config = inst.config if inst is not None else {}
        caption = config.get("caption", MAIN_CAPTION)
        return MainCaption(caption) if config.get("main_has_menu", True) else caption

    def call(self, inst, *words, wait_ms=None):
        with_menu = any(isinstance(word, MainCaption) for word in words)
        return self.driver.call(*words, pid=inst.pid, wait_ms=wait_ms, with_menu=with_menu)

    def must(self, inst, *words, wait_ms=None):
        ok, out = self.call(inst, *words, wait_ms=wait_ms)
        if not ok:
            raise StepFailed("%s %s: %s" % (inst.name, " ".join(str(w) for w in words), out))
        return out

    def poll(self, probe, timeout, what):
        """Calls probe() until it returns (True, detail) or the time is up."""
        deadline = time.monotonic() + timeout
        detail = None
        while True:
            done, detail = probe()
            if done:
                return detail
            if time.monotonic() > deadline:
                raise StepFailed("%s; last seen: %s" % (what, shorten(detail)))
            time.sleep(0.15)

    def begin_check(self):
        """Frames that raw clients received before a check are not its evidence."""
        self._marks = {name: len(client.snapshot()[0]) for name, client in self.raw.items()}

    # ----- needs ------------------------------------------------------------
    def has_resource(self, kind, ident):
        key = (kind, ident)
        if key not in self._resources:
            ok, out = self.driver.call("has-resource", self.settings["executable_wine"], kind, str(ident))
            self._resources[key] = ok and out == "yes"
        return self._resources[key]

    def has_control(self, name, window, ident):
        """Whether the window has the control; for an instance that has ended,
        what was seen while it ran."""
        key = (name, window, ident)
        inst = self.instances.get(name)
        if inst is not None and inst.pid is not None:
            ok, out = self.call(inst, "has-control", self.caption(window, name), str(ident), wait_ms=3000)
            self._controls[key] = ok and out.startswith("yes")
        return self._controls.get(key, False)

    def check_needs(self, needs):
        for need in needs:
            kind = need[0]
            if kind in ("dialog", "menu"):
                if not self.has_resource(kind, need[1]):
                    raise NotBuilt("%s %d is not in Vorlan.exe yet" % (kind, need[1]))
            elif kind == "control":
                _, name, window, ident = need
                if not self.has_control(name, window, ident):
                    raise NotBuilt("control %d of %s's %s window does not exist yet" % (ident, name, window))
            else:
                raise ValueError("unknown need %r" % (need,))

    # ----- steps ------------------------------------------------------------
    def run_step(self, step):
        verb, args = step[0], step[1:]
        handler = getattr(self, "step_" + verb.replace("-", "_"), None)
        if handler is None:
            raise ValueError("unknown step %r" % verb)
        handler(*args)

    def step_prepare(self, name, config):
        executable = self.settings[config.get("executable", "executable")]
        folder = ProgramFolder(os.path.join(self.settings["work"], name), executable, self.settings["colors"],
                               config.get("executable_name", "Vorlan.exe"))
        options = {number: self.expand(str(value)) for number, value in config.get("options", {}).items()}
        folder.write_options(options)
        for relative, lines in config.get("files", {}).items():
            folder.write_lines(relative, [self.expand(line) for line in lines])
        self.instances[name] = Instance(name, folder, config)

    def step_launch(self, name):
        inst = self.instances[name]
        ok, out = self.driver.call("launch", inst.folder.wine_path, inst.config.get("executable_name", "Vorlan.exe"))
        if not ok:
            raise StepFailed("launch %s: %s" % (name, out))
        inst.pid = int(out)
        self.must(inst, "wait-window", self.caption("main", name), "30000")
        # A window is shown once its set-up has run: only then are its controls all there.
        self.poll(lambda: (lambda state: (state in ("visible", "maximized"), state))(
            self.must(inst, "is-visible", self.caption("main", name))), 30, "%s's main window is not shown" % name)

    def step_start(self, name):
        """Starts a program without a window of its own (a console tool)."""
        inst = self.instances[name]
        ok, out = self.driver.call("launch", inst.folder.wine_path, inst.config.get("executable_name", "Vorlan.exe"))
        if not ok:
            raise StepFailed("launch %s: %s" % (name, out))
        inst.pid = int(out)

    def step_stop(self, name):
        inst = self.instance(name)
        self.driver.call("kill", str(inst.pid))
        inst.pid = None

    def step_wait_listening(self, name, timeout=20):
        port = int(self.vars["port"])

        def probe():
            try:
                with socket.create_connection(("127.0.0.1", port), timeout=1):
                    return True, "listening"
            except OSError as error:
                return False, str(error)
        self.poll(probe, timeout, "%s does not listen on port %d" % (name, port))

    def step_raw_login(self, client, name, password="", expect="accepted", bind="127.0.0.2"):
        try:
            raw = RawClient(int(self.vars["port"]), name.encode("latin-1"), password.encode("latin-1"), bind)
        except OSError as error:
            if expect != "accepted":
                return  # refused before the log-in: nobody listens
            raise StepFailed("raw client %s cannot connect: %s" % (client, error)) from None
        if expect == "accepted":
            self.raw[client] = raw
            if raw.wait_for(lambda f: f[:2] == b"00" and f.endswith(b"1"), 10) is None:
                raise StepFailed("raw client %s got no user list (closed: %s)" % (client, raw.closed))
        else:
            got = raw.wait_for(lambda f: f[:2] == b"00", 3)
            closed = raw.wait_closed(5)
            raw.close()
            if got is not None or not closed:
                raise StepFailed("log-in of %s with password %r was not refused" % (name, password))

    def step_fake_server(self, name):
        """A scripted server; its port is <<NAME.port>>."""
        server = FakeServer()
        self.fakes[name] = server
        self.vars[name + ".port"] = str(server.port)

    def step_fake_accept(self, name, timeout=20):
        if not self.fakes[name].wait_connected(timeout):
            raise StepFailed("nobody connected to the scripted server %s" % name)

    def step_fake_send(self, name, text):
        """Sends the bytes as written (each message ends with its own \\0)."""
        self.fakes[name].send(self.expand(text).encode("latin-1"))

    def step_fake_got(self, name, pattern, timeout=10):
        regex = re.compile(self.expand(pattern).encode("latin-1"), re.DOTALL)
        if self.fakes[name].wait_for(lambda f: regex.fullmatch(f) is not None, timeout) is None:
            raise StepFailed("the scripted server %s never got %r; got %r" %
                             (name, pattern, [f.decode("latin-1") for f in self.fakes[name].frames[-6:]]))

    def step_responsive(self, name, timeout=60):
        """Waits until the main window answers messages again."""
        inst = self.instance(name)
        self.poll(lambda: self.call(inst, "get-text", self.caption("main", name), "1001"), timeout,
                  "%s does not answer" % name)

    def step_alive(self, name):
        inst = self.instance(name)
        ok, out = self.driver.call("wait-exit", str(inst.pid), "0")
        if ok:
            raise StepFailed("%s has ended: %s" % (name, out))

    def step_close_raw(self, client):
        self.raw.pop(client).close()

    def step_raw_send(self, client, text):
        self.raw_client(client).send(self.expand(text).encode("latin-1"))

    def step_raw_got(self, client, pattern, timeout=10):
        raw = self.raw_client(client)
        regex = re.compile(self.expand(pattern).encode("latin-1"), re.DOTALL)
        since = self._marks.get(client, 0)
        if raw.wait_for(lambda f: regex.fullmatch(f) is not None, timeout, since) is None:
            frames = [f.decode("latin-1") for f in raw.snapshot()[0][-6:]]
            raise StepFailed("raw client %s never got %r; last frames: %r" % (client, pattern, frames))

    def step_raw_none(self, client, pattern, settle=1.0):
        """No frame received so far matches."""
        time.sleep(settle)
        regex = re.compile(self.expand(pattern).encode("latin-1"), re.DOTALL)
        for frame in self.raw_client(client).snapshot()[0][self._marks.get(client, 0):]:
            if regex.fullmatch(frame):
                raise StepFailed("raw client %s got %r" % (client, frame))

    def step_raw_closed(self, client, timeout=15):
        if not self.raw_client(client).wait_closed(timeout):
            raise StepFailed("the server did not close raw client %s" % client)

    def step_set(self, name, window, control, text):
        inst = self.instance(name)
        return self.must(inst, "set-text", self.caption(window, name), str(control), self.expand(text))

    def step_input_is(self, name, window, text):
        inst = self.instance(name)
        now = self.must(inst, "get-text", self.caption(window, name), "1001")
        if now != self.expand(text):
            raise StepFailed("input line holds %r, expected %r" % (now, self.expand(text)))

    def step_type(self, name, window, text):
        """Types a line into the input line (1001) and sends it with the hidden
        default button (1037), then expects the input line to be empty."""
        self.step_set(name, window, 1001, text)
        inst = self.instance(name)
        self.must(inst, "press", self.caption(window, name), "1037")
        self.step_input_is(name, window, "")

    def step_enter(self, name, window, text):
        """As type, but sends with the Enter key in the input line."""
        self.step_set(name, window, 1001, text)
        inst = self.instance(name)
        self.must(inst, "key", self.caption(window, name), "1001", str(VK_RETURN))
        self.poll(lambda: (self.must(inst, "get-text", self.caption(window, name), "1001") == "", "not emptied"), 5,
                  "Enter did not send the input line")

    def step_typed(self, name, window, text):
        """Types text into the input line one character at a time and waits
        until the program has handled every character (the text stops changing)."""
        inst = self.instance(name)
        self.must(inst, "type-chars", self.caption(window, name), "1001", self.expand(text))
        previous = [None]

        def settled():
            now = self.must(inst, "get-text", self.caption(window, name), "1001")
            done = now == previous[0]
            previous[0] = now
            if not done:
                time.sleep(0.3)
            return done, now
        self.poll(settled, 60, "the typed text did not settle")

    def step_input_length(self, name, window, length):
        now = self.must(self.instance(name), "get-text", self.caption(window, name), "1001")
        if len(now) != length:
            raise StepFailed("input line holds %d characters, expected %d: %s" % (len(now), length, shorten(now)))

    def step_raw_burst(self, client, count, template, per_second=12):
        """Sends count lines, template % n, at most per_second a second (below the flood limit)."""
        raw = self.raw_client(client)
        for n in range(count):
            raw.send(self.expand(template % n).encode("latin-1"))
            if n % per_second == per_second - 1:
                time.sleep(1.1)

    def step_view_length(self, name, window, least, most):
        inst = self.instance(name)
        length = len(self.view_text(inst, window))
        if not least <= length <= most:
            raise StepFailed("%s's %s view holds %d characters, expected %d to %d" % (name, window, length, least, most))

    def step_end_session(self, name, timeout=20):
        inst = self.instance(name)
        self.must(inst, "end-session", self.caption("main", name))
        ok, out = self.driver.call("wait-exit", str(inst.pid), str(timeout * 1000))
        if not ok:
            raise StepFailed("%s still runs after the end of the session: %s" % (name, out))
        inst.exited = True
        inst.pid = None

    def view_text(self, inst, window, control=1046):
        return self.must(inst, "get-text", self.caption(window, inst.name), str(control)).replace("\r\n", "\n").replace("\r", "\n")

    def step_view(self, name, window, pattern, timeout=10):
        inst = self.instance(name)
        regex = view_pattern(self.expand(pattern))
        self.poll(lambda: (lambda text: (matches(regex, text), text))(self.view_text(inst, window)), timeout,
                  "%s's %s view never showed %r" % (name, window, pattern))

    def step_view_not(self, name, window, pattern, settle=1.0):
        time.sleep(settle)
        inst = self.instance(name)
        text = self.view_text(inst, window)
        if matches(view_pattern(self.expand(pattern)), text):
            raise StepFailed("%s's %s view shows %r: %s" % (name, window, pattern, shorten(text)))

    def step_press(self, name, window, control):
        self.must(self.instance(name), "press", self.caption(window, name), str(control))

    def step_click(self, name, window, control):
        self.must(self.instance(name), "click", self.caption(window, name), str(control))

    def step_check_is(self, name, window, control, state):
        out = self.must(self.instance(name), "get-check", self.caption(window, name), str(control))
        if out != str(state):
            raise StepFailed("check box %d of %s is %s, expected %s" % (control, window, out, state))

    def step_menu(self, name, command, window="main"):
        self.must(self.instance(name), "menu", self.caption(window, name), str(command))

    def step_window(self, name, caption, timeout=10):
        self.must(self.instance(name), "wait-window", self.caption(caption), str(int(timeout * 1000)))

    def step_no_window(self, name, caption, timeout=5):
        self.must(self.instance(name), "wait-gone", self.caption(caption), str(int(timeout * 1000)))

    def step_visible(self, name, window, state, timeout=5):
        inst = self.instance(name)
        self.poll(lambda: (lambda out: (out == state, out))(self.must(inst, "is-visible", self.caption(window, name))),
                  timeout, "%s's %s window is not %s" % (name, window, state))

    def step_move(self, name, window, x, y):
        self.must(self.instance(name), "move", self.caption(window, name), str(x), str(y))

    def step_resize(self, name, window, width, height):
        self.must(self.instance(name), "resize", self.caption(window, name), str(width), str(height))

    def step_syscommand(self, name, window, code):
        self.must(self.instance(name), "syscommand", self.caption(window, name), str(code))

    def step_activate(self, name, window):
        self.must(self.instance(name), "activate", self.caption(window, name))

    def step_close(self, name, window):
        self.must(self.instance(name), "close", self.caption(window, name))

    def step_key(self, name, window, control, key):
        self.must(self.instance(name), "key", self.caption(window, name), str(control), str(key))

    def tree_paths(self, inst, window, control):
        """Every item as its path of labels from the root, joined by "/"."""
        out = self.must(inst, "tree-items", self.caption(window, inst.name), str(control))
        paths, stack = [], []
        for line in out.splitlines():
            depth, _, rest = line.partition("\t")
            del stack[int(depth):]
            stack.append(rest.split("\t")[0])
            paths.append("/".join(stack))
        return paths

    def step_tree(self, name, window, control, expected, timeout=10):
        """expected: regexes of item paths ("Admins/Alpha.*") that must all exist."""
        inst = self.instance(name)

        def probe():
            paths = self.tree_paths(inst, window, control)
            missing = [p for p in expected if not any(re.fullmatch(self.expand(p), q) for q in paths)]
            return not missing, {"missing": missing, "items": paths}
        self.poll(probe, timeout, "%s's tree %d lacks items" % (name, control))

    def step_tree_select(self, name, window, control, label):
        self.must(self.instance(name), "tree-select", self.caption(window, name), str(control), self.expand(label))

    def step_file(self, name, relative, pattern, timeout=5):
        inst = self.instances[name]
        regex = re.compile(expand_log_pattern(self.expand(pattern)).encode("latin-1"), re.DOTALL)

        def probe():
            data = inst.folder.read(relative)
            return data is not None and regex.fullmatch(data) is not None, data
        self.poll(probe, timeout, "%s's %s does not match %r" % (name, relative, pattern))

    def step_file_lines(self, name, relative, expected):
        lines = self.instances[name].folder.option_lines() if relative == "options.vr" else None
        if lines is None:
            data = self.instances[name].folder.read(relative)
            if data is None:
                raise StepFailed("%s's %s is missing" % (name, relative))
            lines = [line.replace("\r", "") for line in data.decode("latin-1").split("\n")]
        for number, value in expected.items():
            if number > len(lines) or lines[number - 1] != self.expand(str(value)):
                seen = lines[number - 1] if number <= len(lines) else "(no such line)"
                raise StepFailed("%s line %d is %r, expected %r" % (relative, number, seen, value))

    def step_line_count(self, name, relative, count):
        data = self.instances[name].folder.read(relative)
        if data is None:
            raise StepFailed("%s's %s is missing" % (name, relative))
        found = data.count(b"\n") + 1
        if found != count:
            raise StepFailed("%s has %d lines, expected %d" % (relative, found, count))

    def step_no_file(self, name, relative):
        if self.instances[name].folder.exists(relative):
            raise StepFailed("%s's %s exists" % (name, relative))

    def step_exit(self, name, timeout=20):
        inst = self.instance(name)
        # A busy program may handle the command after the driver stopped waiting for it.
        _, menu_answer = self.call(inst, "menu", self.caption("main", name), "32780")
        ok, out = self.driver.call("wait-exit", str(inst.pid), str(timeout * 1000))
        if not ok:
            raise StepFailed("%s still runs after Exit (%s): %s" % (name, menu_answer, out))
        inst.exited = True
        inst.pid = None

    def step_controls(self, name, window, expected):
        """expected: control id -> its text (None: any text); each must exist and be visible."""
        inst = self.instance(name)
        found = {}
        for line in self.must(inst, "children", self.caption(window, name)).splitlines():
            fields = line.split("\t")
            found[int(fields[0])] = (fields[2], fields[5] if len(fields) > 5 else "")
        wrong = []
        for control, text in expected.items():
            if control not in found:
                wrong.append("%d missing" % control)
            elif found[control][0] != "visible":
                wrong.append("%d hidden" % control)
            elif text is not None and found[control][1] != text:
                wrong.append("%d reads %r, expected %r" % (control, found[control][1], text))
        if wrong:
            raise StepFailed("controls of %s: %s" % (window, "; ".join(wrong)))

    def step_labels(self, name, window, texts):
        """Every text is the text of a visible control of the window (a button,
        a label, a field); "re:" before a text makes it a regular expression."""
        inst = self.instance(name)
        shown = set()
        for line in self.must(inst, "children", self.caption(window, name)).splitlines():
            fields = line.split("\t")
            if fields[2] == "visible" and len(fields) > 5:
                shown.add(fields[5])
        def present(text):
            if text.startswith("re:"):
                return any(re.fullmatch(text[3:], item) for item in shown)
            return text in shown
        missing = [t for t in texts if not present(t)]
        if missing:
            raise StepFailed("%s shows no %r (it shows %r)" % (window, missing, sorted(shown)))

    def step_outer_size(self, name, window, width, height):
        inst = self.instance(name)
        outer = self.must(inst, "rect", self.caption(window, name)).split("\t")[0].split()
        want = [int(self.expand(str(width))), int(self.expand(str(height)))]
        if [int(outer[2]), int(outer[3])] != want:
            raise StepFailed("outer size %sx%s, expected %dx%d" % (outer[2], outer[3], want[0], want[1]))

    def step_layout(self, name, expected, window="main"):
        """expected: control id -> "x, y, width, height" as expressions of cx,
        cy (client size), P (servers pane height), U (user pane width)."""
        inst = self.instance(name)
        outer_and_client = self.must(inst, "rect", self.caption(window, name)).split("\t")
        cx, cy = [int(v) for v in outer_and_client[1].split()[2:4]]
        options = inst.folder.option_lines() or []
        values = {"cx": cx, "cy": cy, "P": int(options[21]), "U": int(options[22])}
        children = {}
        for line in self.must(inst, "children", self.caption(window, name)).splitlines():
            fields = line.split("\t")
            children[int(fields[0])] = [int(v) for v in fields[4].split()]
        wrong = []
        for control, formula in expected.items():
            want = [eval(part, {}, values) for part in formula.split(",")]  # noqa: S307 - our own data
            if children.get(control) != want:
                wrong.append("%d at %s, expected %s" % (control, children.get(control), want))
        if wrong:
            raise StepFailed("layout for client %dx%d: %s" % (cx, cy, "; ".join(wrong)))

    def step_centred(self, name, control, tolerance=2):
        """The control (a label) is centred horizontally in the main window's client area."""
        inst = self.instance(name)
        cx = int(self.must(inst, "rect", self.caption("main", name)).split("\t")[1].split()[2])
        for line in self.must(inst, "children", self.caption("main", name)).splitlines():
            fields = line.split("\t")
            if int(fields[0]) == control:
                x, _, w, _ = [int(v) for v in fields[4].split()]
                if abs(2 * x + w - cx) > 2 * tolerance:
                    raise StepFailed("control %d spans %d..%d, its centre %d is not the client centre %d" %
                                     (control, x, x + w, x + w // 2, cx // 2))
                return
        raise StepFailed("no control %d" % control)

    def step_shot(self, label):
        time.sleep(0.5)  # let windows that just appeared finish painting
        self.shot_number += 1
        path = os.path.join(self.settings["screenshots"], "%02d-%s.png" % (self.shot_number, label))
        subprocess.run(["import", "-window", "root", path], check=False, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def step_sleep(self, seconds):
        time.sleep(seconds)

    # ----- the end ----------------------------------------------------------
    def cleanup(self):
        for client in list(self.raw.values()) + list(self.fakes.values()):
            client.close()
        for inst in self.instances.values():
            if inst.pid is not None:
                try:
                    self.driver.call("kill", str(inst.pid))
                except (OSError, DriverError):
                    pass


def shorten(value, limit=300):
    text = repr(value)
    return text if len(text) <= limit else text[:limit // 2] + " ... " + text[-limit // 2:]


def run_checks(session, checks, deadline):
    passed = failed = skipped = 0
    for check in checks:
        name = check["name"]
        started = time.monotonic()
        if started > deadline:
            print("FAIL %s: not run, the time budget is spent" % name, flush=True)
            failed += 1
            continue
        try:
            session.begin_check()
            session.check_needs(check.get("needs", []))
            for step in check["steps"]:
                try:
                    session.run_step(step)
                except StepFailed as error:
                    raise StepFailed("step %s: %s" % (step[0], error)) from None
        except NotBuilt as reason:
            print("SKIP: not built yet: %s (%s)" % (name, reason), flush=True)
            skipped += 1
            for step in check.get("on_skip", []):
                session.run_step(step)
            continue
        except (StepFailed, DriverError) as error:
            print("FAIL %s: %s" % (name, error), flush=True)
            failed += 1
            session.step_shot("FAILED-" + re.sub(r"[^A-Za-z0-9]+", "-", name)[:40].strip("-"))
            for step in check.get("on_fail", []):
                try:
                    session.run_step(step)
                except (StepFailed, DriverError):
                    pass
            continue
        except Exception:  # a fault of the harness itself counts as a failure
            print("FAIL %s: harness error\n%s" % (name, traceback.format_exc()), flush=True)
            failed += 1
            continue
        print("PASS %s (%.1f s)" % (name, time.monotonic() - started), flush=True)
        passed += 1
    return passed, failed, skipped
