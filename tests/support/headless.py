"""Drives the real zentaris binary the way a player would: an X server of its own (Xvfb) with a
window manager, keys and clicks through xdotool, screenshots through xwd and ImageMagick.

Every run works in a temporary copy of the runtime directory, so no test touches a player's
score database, and every wait is bounded.
"""

import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
from collections import deque

GAME_TIMEOUT = 120  # seconds a single game process may live in a test
BOX_TITLES = ("Fehlermeldung", "Datei fehlt")
# ImageMagick's own convert, even where another program of that name comes first on the PATH.
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"


class TestFailure(AssertionError):
    pass


def make_runtime_copy(built_dir, link_assets=False):
    """A fresh runtime directory: executable, ImgData/, Sound/, fonts/ and an empty score/."""
    rt = tempfile.mkdtemp(prefix="zentaris-rt-")
    shutil.copy2(os.path.join(built_dir, "zentaris"), rt)
    for sub in ("ImgData", "Sound", "fonts"):
        src = os.path.join(built_dir, sub)
        if link_assets:
            os.symlink(src, os.path.join(rt, sub))
        else:
            shutil.copytree(src, os.path.join(rt, sub))
    os.mkdir(os.path.join(rt, "score"))
    return rt


def base_env(**extra):
    env = {k: v for k, v in os.environ.items() if not k.startswith("SDL_")}
    env["SDL_AUDIODRIVER"] = "dummy"
    env.update(extra)
    return env


class Display:
    """An Xvfb server at 800 x 600 with evilwm, so the full-screen window gets its size and
    input arrives."""

    def __init__(self, width=800, height=600):
        self.width = width
        self.height = height
        self.xvfb = None
        self.wm = None
        self.name = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.time() + 20
        while time.time() < deadline and not number.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            raise TestFailure("Xvfb did not start")
        self.name = ":" + number.decode().strip()
        self.wm = subprocess.Popen(["evilwm"], env=self.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        return self

    def __exit__(self, *exc):
        for proc in (self.wm, self.xvfb):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
        return False

    def env(self, **extra):
        env = base_env(**extra)
        env["DISPLAY"] = self.name
        return env

    def run(self, args, timeout=10):
        return subprocess.run(args, env=self.env(), capture_output=True, text=True,
                              timeout=timeout)

    def find_window(self, name, timeout=20.0):
        """Id of the window named exactly `name`, or None after the timeout. (xwininfo finds
        SDL's message boxes, which xdotool's name search misses.)"""
        deadline = time.time() + timeout
        while True:
            out = self.run(["xwininfo", "-name", name])
            for line in out.stdout.splitlines():
                if "Window id:" in line:
                    return line.split("Window id:")[1].split()[0]
            if time.time() >= deadline:
                return None
            time.sleep(0.2)

    def window_geometry(self, wid):
        out = self.run(["xwininfo", "-id", wid]).stdout
        geo = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Width", "Height", "Absolute upper-left X", "Absolute upper-left Y"):
                if line.startswith(key + ":"):
                    geo[key] = int(line.split(":")[1])
        return geo

    def key(self, *keys, delay_ms=30):
        self.run(["xdotool", "key", "--delay", str(delay_ms), *keys], timeout=60)

    def type_text(self, text, delay_ms=60):
        self.run(["xdotool", "type", "--delay", str(delay_ms), text], timeout=60)

    def move(self, x, y):
        self.run(["xdotool", "mousemove", str(x), str(y)])

    def click(self, x, y):
        self.move(x, y)
        self.run(["xdotool", "click", "1"])

    def screenshot(self, path):
        """Screenshot of the whole screen as PNG; returns the path."""
        xwd = subprocess.run(["xwd", "-root", "-silent"], env=self.env(), capture_output=True,
                             timeout=20)
        subprocess.run([CONVERT, "xwd:-", "png:" + path], input=xwd.stdout, check=True,
                       timeout=20)
        return path

    def set_keyboard_layout(self, layout):
        """Switches the server's keyboard layout (for instance "de", whose keys carry the
        umlauts, so xdotool types them on real keys instead of remapping one in a hurry);
        True when it worked."""
        try:
            return self.run(["setxkbmap", layout]).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False

    def capture(self):
        """The whole screen as an Image, read straight from xwd (no file)."""
        xwd = subprocess.run(["xwd", "-root", "-silent"], env=self.env(), capture_output=True,
                             timeout=20)
        if xwd.returncode != 0:
            raise TestFailure("xwd failed: " + xwd.stderr.decode(errors="replace"))
        return image_from_xwd(xwd.stdout)

    def pixels(self, path):
        """(width, height, bytes) of a PNG as raw RGB."""
        out = subprocess.run([CONVERT, path, "-depth", "8", "rgb:-"], capture_output=True,
                             check=True, timeout=20).stdout
        return self.width, self.height, out

    def close_boxes(self, timeout=15.0):
        """Closes every message box that appears within the timeout; returns their titles."""
        closed = []
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = False
            for title in BOX_TITLES:
                wid = self.find_window(title, timeout=0.1)
                if wid:
                    self.run(["xdotool", "key", "--window", wid, "Return"])
                    closed.append(title)
                    found = True
                    time.sleep(0.3)
            if not found and closed:
                break
            time.sleep(0.2)
        return closed


class Game:
    """The zentaris process in a runtime directory, bounded by timeout -k 5."""

    def __init__(self, rt_dir, env, lifetime=None):
        self.rt_dir = rt_dir
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(lifetime or GAME_TIMEOUT), "./zentaris"], cwd=rt_dir,
            env=env,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
            start_new_session=True)
        self.stdout = ""
        self.stderr = ""

    def wait(self, timeout=30):
        try:
            self.stdout, self.stderr = self.proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise TestFailure(f"the game did not end within {timeout} s; stderr so far:\n"
                              + self.stderr)
        return self.proc.returncode

    def running(self):
        return self.proc.poll() is None

    def kill(self, sig=signal.SIGKILL):
        try:
            os.killpg(self.proc.pid, sig)
        except ProcessLookupError:
            pass
        try:
            self.stdout, self.stderr = self.proc.communicate(timeout=10)
        except subprocess.TimeoutExpired:
            pass


# Pictures as raw RGB: screenshots and the game's own bitmaps, compared pixel for pixel. The
# per-pixel work is done on whole byte strings (translate, slicing, big-integer bit operations),
# so a full 800 x 600 screen takes milliseconds in plain Python.

_NONZERO = bytes([0] + [1] * 255)


def mask_bits(mask):
    """A 0/1-per-pixel mask as one integer, for bitwise combination."""
    return int.from_bytes(mask, "big")


def bits_mask(value, length):
    """The integer of mask_bits back as a 0/1-per-pixel mask of the given length."""
    return value.to_bytes(length, "big")


def _popcount(value):
    return bin(value).count("1")


class Image:
    """An RGB picture: width, height and three bytes a pixel, row by row."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise ValueError(f"{width}x{height} picture with {len(data)} bytes")
        self.width = width
        self.height = height
        self.data = bytes(data)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def crop(self, x, y, w, h):
        """The part at (x, y) of size w x h; it must lie inside the picture."""
        if x < 0 or y < 0 or x + w > self.width or y + h > self.height:
            raise ValueError(f"crop {w}x{h}+{x}+{y} outside {self.width}x{self.height}")
        stride = self.width * 3
        rows = [self.data[(y + r) * stride + x * 3:(y + r) * stride + (x + w) * 3]
                for r in range(h)]
        return Image(w, h, b"".join(rows))

    def mask(self, low, high):
        """0/1 per pixel: 1 where every channel lies within [low[c], high[c]]."""
        result = -1
        for c in range(3):
            table = bytes(1 if low[c] <= v <= high[c] else 0 for v in range(256))
            result &= mask_bits(self.data[c::3].translate(table))
        return bits_mask(result, self.width * self.height)

    def count(self, low, high):
        """How many pixels have every channel within [low[c], high[c]]."""
        return self.mask(low, high).count(1)

    def differing(self, other):
        """0/1 per pixel: 1 where this picture and another of the same size differ."""
        if (self.width, self.height) != (other.width, other.height):
            raise ValueError("pictures of different sizes")
        n = self.width * self.height
        xor = int.from_bytes(self.data, "big") ^ int.from_bytes(other.data, "big")
        diff = xor.to_bytes(n * 3, "big").translate(_NONZERO)  # 1 per differing channel
        any_channel = mask_bits(diff[0::3]) | mask_bits(diff[1::3]) | mask_bits(diff[2::3])
        return bits_mask(any_channel, n)

    def same_fraction(self, other):
        """Share of pixels that are equal in both pictures (same size)."""
        n = self.width * self.height
        return 1.0 - self.differing(other).count(1) / n

    def shows(self, sprite, key=(255, 0, 255)):
        """Share of the sprite's opaque pixels (those not of the key colour) that this
        picture shows unchanged; both pictures have the same size."""
        opaque = mask_bits(sprite.mask(key, key).translate(bytes([1, 0]) + bytes(254)))
        total = _popcount(opaque)
        if total == 0:
            return 0.0
        same = opaque & ~mask_bits(self.differing(sprite))
        return _popcount(same) / total

    def save(self, path):
        """Writes the picture as PNG; returns the path."""
        subprocess.run([CONVERT, "-size", f"{self.width}x{self.height}", "-depth", "8",
                        "rgb:-", "png:" + path], input=self.data, check=True, timeout=20)
        return path


def image_from_xwd(raw):
    """Decodes an xwd dump of a TrueColor screen; 24 and 32 bits a pixel are decoded here,
    anything else is left to ImageMagick."""
    fields = struct.unpack(">25I", raw[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks, ncolors = fields[14:17], fields[19]
    size = bits_per_pixel // 8
    lanes = {0xff: 0, 0xff00: 1, 0xff0000: 2, 0xff000000: 3}
    if bits_per_pixel not in (24, 32) or any(lanes.get(m, 9) >= size for m in masks):
        out = subprocess.run([CONVERT, "xwd:-", "-depth", "8", "rgb:-"], input=raw,
                             capture_output=True, check=True, timeout=20).stdout
        return Image(width, height, out)
    start = header_size + 12 * ncolors
    pixels = raw[start:start + bytes_per_line * height]
    if bytes_per_line != width * size:
        pixels = b"".join(pixels[r * bytes_per_line:r * bytes_per_line + width * size]
                          for r in range(height))
    out = bytearray(width * height * 3)
    for c, mask in enumerate(masks):
        index = lanes[mask] if byte_order == 0 else size - 1 - lanes[mask]
        out[c::3] = pixels[index::size]
    return Image(width, height, out)


def load_image(path):
    """Any picture ImageMagick reads (BMP, PNG) as an Image."""
    out = subprocess.run([CONVERT, path, "-depth", "8", "ppm:-"], capture_output=True,
                         check=True, timeout=20).stdout
    # P6 header: magic, width, height, maximum, each after white space or comment lines.
    tokens, pos = [], 0
    while len(tokens) < 4:
        while out[pos:pos + 1].isspace():
            pos += 1
        if out[pos:pos + 1] == b"#":
            pos = out.index(b"\n", pos) + 1
            continue
        end = pos
        while not out[end:end + 1].isspace():
            end += 1
        tokens.append(out[pos:end])
        pos = end
    width, height = int(tokens[1]), int(tokens[2])
    return Image(width, height, out[pos + 1:pos + 1 + width * height * 3])


class Blob:
    """A connected group of mask pixels: size and bounding box (x1, y1 inclusive)."""

    def __init__(self, pixels):
        xs = [p[0] for p in pixels]
        ys = [p[1] for p in pixels]
        self.size = len(pixels)
        self.x0, self.y0, self.x1, self.y1 = min(xs), min(ys), max(xs), max(ys)

    @property
    def width(self):
        return self.x1 - self.x0 + 1

    @property
    def height(self):
        return self.y1 - self.y0 + 1

    def __repr__(self):
        return f"Blob({self.size} px, {self.width}x{self.height}+{self.x0}+{self.y0})"


def blobs(mask, width, min_size=1, diagonal=False):
    """The connected groups of 1-pixels of a 0/1 mask of the given row width."""
    height = len(mask) // width
    seen = bytearray(len(mask))
    steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    if diagonal:
        steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
    found = []
    i = mask.find(1)
    while i >= 0:
        if not seen[i]:
            seen[i] = 1
            queue, pixels = deque([i]), []
            while queue:
                j = queue.popleft()
                x, y = j % width, j // width
                pixels.append((x, y))
                for dx, dy in steps:
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < width and 0 <= ny < height:
                        k = ny * width + nx
                        if mask[k] and not seen[k]:
                            seen[k] = 1
                            queue.append(k)
            if len(pixels) >= min_size:
                found.append(Blob(pixels))
        i = mask.find(1, i + 1)
    return found
