"""A raw chat-protocol peer: logs in from 127.0.0.2 (a normal user to the
server) and records every frame it receives."""
import socket
import threading
import time

SEP = b"\xac"


class RawClient:
    def __init__(self, port, name, password=b"", bind="127.0.0.2"):
        self.frames = []           # received messages without their zero byte
        self.closed = False
        self._lock = threading.Lock()
        self._socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._socket.bind((bind, 0))
        self._socket.settimeout(10)
        self._socket.connect(("127.0.0.1", port))
        self._socket.settimeout(None)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self.send(b"00" + name + SEP + password)

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = self._socket.recv(65536)
            except OSError:
                chunk = b""
            if not chunk:
                with self._lock:
                    self.closed = True
                return
            pending += chunk
            *complete, pending = pending.split(b"\0")
            with self._lock:
                self.frames.extend(f for f in complete if f)

    def send(self, text):
        self._socket.sendall(text + b"\0")

    def snapshot(self):
        with self._lock:
            return list(self.frames), self.closed

    def wait_for(self, predicate, timeout=10.0, since=0):
        """The first frame received (from frame number since on) that
        predicate accepts, or None."""
        deadline = time.monotonic() + timeout
        while True:
            frames, closed = self.snapshot()
            for frame in frames[since:]:
                if predicate(frame):
                    return frame
            if closed or time.monotonic() > deadline:
                return None
            time.sleep(0.05)

    def wait_closed(self, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.snapshot()[1]:
                return True
            time.sleep(0.05)
        return False

    def users(self):
        """id -> name from the user-list entries ("00") and joins ("01")."""
        found = {}
        for frame in self.snapshot()[0]:
            if frame[:2] in (b"00", b"01") and SEP in frame:
                ident, _, rest = frame[2:].partition(SEP)
                name = rest.split(SEP)[0][1:]
                found[int(ident)] = name
        return found

    def own_id(self):
        for frame in self.snapshot()[0]:
            if frame[:2] == b"00" and frame.endswith(b"1") and frame.count(SEP) == 2:
                return int(frame[2:].split(SEP)[0])
        return None

    def close(self):
        try:
            self._socket.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self._socket.close()
