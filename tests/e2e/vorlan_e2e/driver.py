"""Client of vorlan-driver.exe's serve mode (one TCP connection, one line per command)."""
import socket
import time
import urllib.parse


def latin1(data):
    """Bytes as a str of the same byte values (the program's text is 8-bit)."""
    return data.decode("latin-1")


class DriverError(Exception):
    pass


class Driver:
    def __init__(self, port, connect_timeout=60.0):
        deadline = time.monotonic() + connect_timeout
        while True:
            try:
                # Generous: a command may wait on a busy program several times over.
                self._socket = socket.create_connection(("127.0.0.1", port), timeout=120)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise DriverError("vorlan-driver did not answer on port %d" % port)
                time.sleep(0.1)
        self._stream = self._socket.makefile("rwb")

    def call(self, *words, pid=None, wait_ms=None, with_menu=False):
        """Runs one command; returns (ok, output text). with_menu: the caption
        names a window with a menu bar (a program's main window)."""
        prefix = []
        if pid is not None:
            prefix += ["--pid", str(pid)]
        if with_menu:
            prefix += ["--with-menu", "1"]
        if wait_ms is not None:
            prefix += ["--wait", str(int(wait_ms))]
        # Each word is "w" and its percent-encoded bytes, so an empty word survives.
        encoded = ["w" + urllib.parse.quote(str(w).encode("latin-1"), safe="") for w in prefix + list(words)]
        try:
            self._stream.write((" ".join(encoded) + "\n").encode("ascii"))
            self._stream.flush()
            line = self._stream.readline().decode("ascii").rstrip("\n")
        except OSError as error:
            raise DriverError("vorlan-driver did not answer: %s" % error) from None
        if not line:
            raise DriverError("vorlan-driver closed the connection")
        status, _, payload = line.partition(" ")
        return status == "OK", latin1(urllib.parse.unquote_to_bytes(payload))

    def must(self, *words, **options):
        ok, out = self.call(*words, **options)
        if not ok:
            raise DriverError("%s: %s" % (" ".join(str(w) for w in words), out))
        return out

    def quit(self):
        try:
            self.call("quit")
        except (OSError, DriverError):
            pass
        self._socket.close()
