"""A scripted chat server for one client: it accepts one connection, records
the client's frames and sends whatever the check gives it, well-formed or not."""
import socket
import threading
import time


class FakeServer:
    def __init__(self):
        self.frames = []
        self._lock = threading.Lock()
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        from .engine import free_port
        self._listener.bind(("127.0.0.1", free_port()))
        self._listener.listen(1)
        self.port = self._listener.getsockname()[1]
        self._connection = None
        self._accepted = threading.Event()
        threading.Thread(target=self._serve, daemon=True).start()

    def _serve(self):
        try:
            self._connection, _ = self._listener.accept()
        except OSError:
            return
        self._accepted.set()
        pending = b""
        while True:
            try:
                chunk = self._connection.recv(65536)
            except OSError:
                chunk = b""
            if not chunk:
                return
            pending += chunk
            *complete, pending = pending.split(b"\0")
            with self._lock:
                self.frames.extend(f for f in complete if f)

    def wait_connected(self, timeout):
        return self._accepted.wait(timeout)

    def send(self, data):
        """Raw bytes: the caller writes the zero bytes where it wants them."""
        self._connection.sendall(data)

    def wait_for(self, predicate, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            with self._lock:
                for frame in self.frames:
                    if predicate(frame):
                        return frame
            time.sleep(0.05)
        return None

    def close(self):
        for s in (self._connection, self._listener):
            if s is not None:
                try:
                    s.close()
                except OSError:
                    pass
