#!/usr/bin/env python3
"""The score page as a real browser shows it.

Starts mibbetfall-scores on a free port over a database of its own, posts two scores through the
game's own HTTP client (mibbetfall-post-score), lets headless chromium load the page and reads
the table from the DOM it built: both names, in rank order, each in its own cell. Then stops the
server with SIGTERM, which must end it cleanly. Without chromium the test is skipped (exit 77).

    browser_test.py MIBBETFALL_SCORES MIBBETFALL_POST_SCORE
"""
import html.parser
import os
import re
import signal
import subprocess
import sys
import tempfile

CHROMIUM = "/usr/bin/chromium"
SKIPPED = 77
POSTS = [(900, "ACE"), (1200, "MR_X-9/2")]


class TableRows(html.parser.HTMLParser):
    """The text of each row's cells, as the browser's DOM holds them (header cells left out)."""

    def __init__(self):
        super().__init__()
        self.rows = []
        self.in_cell = False

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag == "td":
            self.rows[-1].append("")
            self.in_cell = True

    def handle_endtag(self, tag):
        if tag == "td":
            self.in_cell = False

    def handle_data(self, data):
        if self.in_cell:
            self.rows[-1][-1] += data


def dump_dom(url, profile):
    browser = subprocess.run(
        [CHROMIUM, "--headless=new", "--no-sandbox", "--disable-gpu", f"--user-data-dir={profile}",
         "--dump-dom", url],
        capture_output=True, text=True, timeout=120, check=True)
    return browser.stdout


def serve_post_and_load(server_path, post_path, folder):
    """The DOM of the page after the posts, and the server's exit code after SIGTERM."""
    server = subprocess.Popen([server_path, "--listen", "127.0.0.1:0", "--db", os.path.join(folder, "scores.sqlite3")],
                              stdout=subprocess.PIPE, text=True)
    try:
        url = re.search(r"http://\S+/", server.stdout.readline()).group(0)
        for score, name in POSTS:
            subprocess.run([post_path, str(score), name, url.rstrip("/")], check=True, timeout=30)
        dom = dump_dom(url, os.path.join(folder, "chromium"))
    finally:
        server.send_signal(signal.SIGTERM)
        exit_code = server.wait(timeout=30)
    return dom, exit_code


def main(server_path, post_path):
    if not os.path.exists(CHROMIUM):
        print(f"skipped: {CHROMIUM} is not installed")
        return SKIPPED
    with tempfile.TemporaryDirectory() as folder:
        dom, exit_code = serve_post_and_load(server_path, post_path, folder)
    table = TableRows()
    table.feed(dom)
    rows = [row for row in table.rows if row]
    expected = [[str(rank), str(score), name] for rank, (score, name) in enumerate(sorted(POSTS, reverse=True), 1)]
    failures = []
    if "MIBBETFALL HIGH SCORES" not in dom:
        failures.append("the heading is missing")
    if [row[:3] for row in rows] != expected:
        failures.append(f"the table's rows are {rows}, expected {expected} and a date each")
    if not all(len(row) == 4 and re.fullmatch(r"\d{4}-\d\d-\d\d", row[3]) for row in rows):
        failures.append(f"every row should end in a date: {rows}")
    if exit_code != 0:
        failures.append(f"SIGTERM ended the server with exit code {exit_code}")
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print("the browser shows", rows)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
