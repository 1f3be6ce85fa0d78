#!/usr/bin/env python3
"""Checks make-images.py: every image the windows load, at its exact size, an
icon at 16 and 32 pixels, and the same bytes on every run."""
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

GENERATOR = Path(__file__).with_name("make-images.py")
EXPECTED = {
    "background.bmp": 33, "border.bmp": 21, "border2.bmp": 9, "border3.bmp": 9,
    "button.bmp": 21, "button2.bmp": 21, "expand.bmp": 9, "collapse.bmp": 9,
    **{f"check box{n}.bmp": 15 for n in ("", "2", "3", "4")},
    **{f"radio button{n}.bmp": 15 for n in ("", "2", "3", "4")},
}


def generate(folder):
    subprocess.run([sys.executable, str(GENERATOR), str(folder)], check=True)
    return {p.name: p.read_bytes() for p in Path(folder).iterdir()}


class MakeImagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as one, tempfile.TemporaryDirectory() as two:
            cls.files = generate(one)
            cls.again = generate(two)

    def test_every_bitmap_at_its_size(self):
        self.assertEqual(set(self.files), set(EXPECTED) | {"icon.ico"})
        for name, size in EXPECTED.items():
            data = self.files[name]
            self.assertEqual(data[:2], b"BM", name)
            file_size, offset = struct.unpack_from("<I4xI", data, 2)
            width, height, planes, bits = struct.unpack_from("<iiHH", data, 18)
            self.assertEqual((width, height, planes, bits), (size, size, 1, 24), name)
            self.assertEqual(file_size, len(data), name)
            self.assertEqual(len(data) - offset, ((size * 3 + 3) & ~3) * size, name)

    def test_icon_at_16_and_32(self):
        data = self.files["icon.ico"]
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        sizes = []
        for i in range(count):
            w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            self.assertEqual(w, h)
            self.assertLessEqual(offset + length, len(data))
            self.assertEqual(struct.unpack_from("<ii", data, offset + 4), (w, 2 * w))
            sizes.append(w)
        self.assertEqual(sizes, [16, 32])

    def test_same_bytes_every_run(self):
        self.assertEqual(self.files, self.again)


if __name__ == "__main__":
    unittest.main()
