#!/usr/bin/env python3
"""What the browser version costs: headless chromium's CPU (every process of it) on the splash,
while playing with the pointer still, and with the pointer sweeping the field, each over a stretch
of seconds, and the time from navigation to the splash drawn.

    browser_cpu.py SITE_DIR [SECONDS]
"""
import importlib.util
import os
import sys
import tempfile
import time

spec = importlib.util.spec_from_file_location(
    "browser_game_test", os.path.join(os.path.dirname(__file__), "..", "tests", "web", "browser_game_test.py"))
driver = importlib.util.module_from_spec(spec)
spec.loader.exec_module(driver)


def tree_cpu_seconds(root):
    """User and system CPU of a process and all its descendants."""
    ticks, pending = 0, [root]
    while pending:
        pid = pending.pop()
        try:
            fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
            ticks += int(fields[11]) + int(fields[12])
            for task in os.listdir(f"/proc/{pid}/task"):
                pending += [int(c) for c in open(f"/proc/{pid}/task/{task}/children").read().split()]
        except OSError:
            pass
    return ticks / os.sysconf("SC_CLK_TCK")


def main():
    site = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10
    with tempfile.TemporaryDirectory() as work:
        server = driver.serve(site)
        browser = driver.DevTools(os.path.join(work, "profile"))
        try:
            began = time.monotonic()
            browser.call("Page.navigate", session=True, url=f"http://127.0.0.1:{server.server_address[1]}/?seed=1")
            browser.wait_for("typeof Mibbetfall !== 'undefined' && Mibbetfall.ready", 30, "the splash")
            print(f"splash drawn {1000 * (time.monotonic() - began):.0f} ms after navigation")

            def measure(what, during=None):
                time.sleep(1)
                before, start = tree_cpu_seconds(browser.process.pid), time.monotonic()
                while time.monotonic() - start < seconds:
                    if during:
                        during(time.monotonic() - start)
                    time.sleep(0.05)
                used = tree_cpu_seconds(browser.process.pid) - before
                print(f"{what}: {used:.2f} CPU s in {seconds:.0f} s ({100 * used / seconds:.1f} % of a core)")

            measure("splash")
            browser.click(350, 350)
            browser.key("n")
            measure("playing, pointer still")

            def sweep(t):
                step = int(t * 20)
                x, y = 20 + (step * 13) % 680, 20 + (step * 7) % 680
                box = browser.evaluate("(() => { const b = document.getElementById('game').getBoundingClientRect();"
                                       " return [b.left, b.top]; })()")
                browser.call("Input.dispatchMouseEvent", session=True, type="mouseMoved", x=box[0] + x,
                             y=box[1] + y)

            measure("playing, pointer sweeping", sweep)
        finally:
            browser.close()
            server.shutdown()


if __name__ == "__main__":
    main()
