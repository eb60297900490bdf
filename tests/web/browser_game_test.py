#!/usr/bin/env python3
"""The browser version in a real browser: headless chromium, driven over the DevTools protocol
through a pipe.

Serves a copy of the built site (in debug mode) from a local server, loads it with a fixed seed and
date, clicks the splash, presses N, orders a sign through the build menu, and compares the side
panels and the base on the canvas with the simulator's frame at the same moment. The first click
must have started an AudioContext. Then the game is ended with a score for the table (debug keys
W and Q), a name is typed, and after a reload the page's storage gives back the same table.
Prints how long the splash took to show and what a player downloads. Skipped (77) without chromium.

    browser_game_test.py SITE_DIR MIBBETFALL_SIM
"""
import base64
import functools
import gzip
import http.server
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

CHROMIUM = "/usr/bin/chromium"
SKIPPED = 77
SEED, DATE = 5, "2026-03-01"
WIDTH, HEIGHT = 903, 717
NAME = "WEB"


class DevTools:
    """One page of a headless chromium, spoken to over its DevTools pipe."""

    def __init__(self, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def wire():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.process = subprocess.Popen(
            [CHROMIUM, "--headless=new", "--no-sandbox", "--remote-debugging-pipe", "--user-data-dir=" + profile,
             "--window-size=1000,800", "--mute-audio", "about:blank"],
            # 3 and 4 kept too: the child closes what pass_fds does not name after wire() ran.
            pass_fds=(to_browser_r, from_browser_w, 3, 4), preexec_fn=wire,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        self.call("Page.enable", session=True)

    def call(self, method, session=False, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.buffer:
                chunk = os.read(self.from_browser, 1 << 16)
                if not chunk:
                    raise RuntimeError("chromium closed its pipe")
                self.buffer += chunk
            line, self.buffer = self.buffer.split(b"\0", 1)
            reply = json.loads(line)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", session=True, expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, seconds, what):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.evaluate(expression):
                return
            time.sleep(0.05)
        raise AssertionError(f"{what}: not within {seconds} s")

    def click(self, x, y):
        box = self.evaluate("(() => { const b = document.getElementById('game').getBoundingClientRect();"
                            " return [b.left, b.top, b.width / 903]; })()")
        at = {"x": box[0] + (x + 0.5) * box[2], "y": box[1] + (y + 0.5) * box[2]}
        self.call("Input.dispatchMouseEvent", session=True, type="mouseMoved", **at)
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", session=True, type=kind, button="left", clickCount=1, **at)
        time.sleep(0.2)

    def key(self, text):
        named = {"\r": ("Enter", 13)}
        key, code = named.get(text, (text, ord(text.upper())))
        down = {"type": "keyDown", "key": key, "windowsVirtualKeyCode": code}
        if text != "\r":
            down["text"] = text
        else:
            down["text"] = "\r"
        self.call("Input.dispatchKeyEvent", session=True, **down)
        self.call("Input.dispatchKeyEvent", session=True, type="keyUp", key=key, windowsVirtualKeyCode=code)
        time.sleep(0.1)

    def region(self, x, y, w, h):
        data = self.evaluate(f"(() => {{ const d = document.getElementById('game').getContext('2d')"
                             f".getImageData({x}, {y}, {w}, {h}).data; let s = '';"
                             f" for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i+1], d[i+2]);"
                             f" return btoa(s); }})()")
        return base64.b64decode(data)

    def close(self):
        try:
            self.call("Browser.close")
        except Exception:
            pass
        self.process.wait(timeout=10)


def bmp_region(path, x, y, w, h):
    """RGB bytes of a region of a 24-bit BMP the simulator wrote."""
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    out = bytearray()
    for row in range(y, y + h):
        stored = height - 1 - row if height > 0 else row
        at = offset + stored * stride
        for col in range(x, x + w):
            b, g, r = data[at + 3 * col:at + 3 * col + 3]
            out += bytes((r, g, b))
    return bytes(out)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def high_score_lines(bmp):
    """(score, name) of each line of a high-score table stored as a picture: a row per line, the
    score in the first pixel's colour, three name characters in each further pixel."""
    offset, = struct.unpack_from("<I", bmp, 10)
    width, height = struct.unpack_from("<ii", bmp, 18)
    stride = (width * 3 + 3) // 4 * 4
    lines = []
    for row in range(abs(height)):
        at = offset + row * stride
        b, g, r = bmp[at:at + 3]
        name = "".join(chr(bmp[at + 3 * p + 2]) + chr(bmp[at + 3 * p + 1]) + chr(bmp[at + 3 * p])
                       for p in range(1, width))
        lines.append((r | g << 8 | b << 16, name.rstrip(" \0")))
    return lines


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def cell(n):
    return 9 + 35 * n + 17


def main():
    site, sim = sys.argv[1], sys.argv[2]
    if not os.path.exists(CHROMIUM):
        print("no chromium: skipped")
        return SKIPPED
    if not os.path.exists(os.path.join(site, "mibbetfall-game.wasm")):
        print(f"no browser version in {site} (./web.sh or ./test.sh builds it): skipped")
        return SKIPPED
    work = tempfile.mkdtemp()
    try:
        # The site in debug mode, its own copy; the rest of its files linked.
        own = os.path.join(work, "site")
        os.mkdir(own)
        for name in os.listdir(site):
            if name != "settings.ini":
                os.symlink(os.path.join(os.path.abspath(site), name), os.path.join(own, name))
        settings = open(os.path.join(site, "settings.ini")).read().splitlines()
        settings = [line for line in settings if not line.upper().startswith("DEBUG=")] + ["DEBUG=1"]
        open(os.path.join(own, "settings.ini"), "w").write("\n".join(settings) + "\n")

        # The simulator at the same moments, on the same settings.
        assets = os.path.join(work, "Assets")
        shutil.copytree(os.path.join(os.path.dirname(sim), "Assets"), assets, symlinks=True)
        shutil.copy(os.path.join(own, "settings.ini"), os.path.join(assets, "settings.ini"))
        script = (f"press 350 350\nkey N\nwait 500\npress {cell(5)} {cell(11)}\npress 195 420\nwait 2000\n"
                  f"shot {work}/sim-sign.bmp\n")
        subprocess.run([sim, "--assets", assets + "/", "--seed", str(SEED), "--date", DATE], input=script.encode(),
                       stdout=subprocess.DEVNULL, check=True, env=dict(os.environ, SDL_AUDIODRIVER="dummy"))

        server = serve(own)
        url = f"http://127.0.0.1:{server.server_address[1]}/?seed={SEED}&date={DATE}"
        browser = DevTools(os.path.join(work, "profile"))
        try:
            began = time.monotonic()
            browser.call("Page.navigate", session=True, url=url)
            browser.wait_for("typeof Mibbetfall !== 'undefined' && Mibbetfall.ready", 30, "the splash")
            splash_ms = (time.monotonic() - began) * 1000
            audio_before = browser.evaluate("Mibbetfall.audio.state")

            browser.click(350, 350)
            browser.wait_for("Mibbetfall.audio.state === 'running'", 5, "an AudioContext running after the click")
            browser.key("n")
            time.sleep(0.5)
            browser.click(cell(5), cell(11))
            browser.click(195, 420)
            # The side panels (score, scrap, signs) and the base's turrets as the simulator drew them.
            for what, box in (("side panels", (712, 8, 185, 164)), ("base", (289, 9, 35, 70))):
                expected = bmp_region(f"{work}/sim-sign.bmp", *box)
                deadline = time.monotonic() + 10
                while browser.region(*box) != expected:
                    if time.monotonic() > deadline:
                        raise AssertionError(f"the {what} differ from the simulator's frame")
                    time.sleep(0.2)

            if os.environ.get("MIBBETFALL_WEB_SHOT"):
                shot = browser.call("Page.captureScreenshot", session=True, format="png")["data"]
                open(os.environ["MIBBETFALL_WEB_SHOT"], "wb").write(base64.b64decode(shot))
            # A score for the table, the game's end, a name; the table survives a reload.
            for _ in range(11):
                browser.key("w")
            browser.key("q")
            browser.wait_for("document.title !== '' && Mibbetfall.ready", 1, "the page")
            time.sleep(12)  # the explosions burn down before the game-over panel takes a click
            browser.click(350, 350)
            for letter in NAME:
                browser.key(letter.lower())
            browser.key("\r")
            browser.key("n")  # no post
            table = "(() => { try { return btoa(String.fromCharCode.apply(null," \
                    " Module.FS.readFile('/Assets/hs.bmp'))); } catch (e) { return ''; } })()"
            browser.wait_for(f"{table} === localStorage.getItem('mibbetfall/hs.bmp')", 5, "the table stored")
            stored = browser.evaluate(table)
            assert (11 * 50, NAME) in high_score_lines(base64.b64decode(stored)), high_score_lines(base64.b64decode(stored))
            browser.call("Page.reload", session=True)
            browser.wait_for("typeof Mibbetfall !== 'undefined' && Mibbetfall.ready", 30, "the page after a reload")
            assert browser.evaluate(table) == stored, "the table after a reload differs"
        finally:
            browser.close()
            server.shutdown()

        sizes = {}
        for name in os.listdir(site):
            raw = open(os.path.join(site, name), "rb").read()
            sizes[name] = (len(raw), len(gzip.compress(raw, 6)))
        total = sum(z for _, z in sizes.values())
        print(f"splash drawn {splash_ms:.0f} ms after navigation (audio {audio_before} before the first click);"
              f" download {total / 1e6:.2f} MB gzip-compressed"
              f" ({', '.join(f'{n} {z / 1e3:.0f} kB' for n, (_, z) in sorted(sizes.items()))})")
        print("the browser game: splash, N, a sign through the menu, panels and base as simulated,"
              " audio after the click, the table kept over a reload")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
