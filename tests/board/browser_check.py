#!/usr/bin/env python3
"""The board's pages in a real browser: headless Chromium driven through
chromedriver (WebDriver over HTTP, loopback only).

Submits two rounds to a running board, waits until both are verified, then
loads the board and a player's page and finds the names and scores as text.
A hostile name put straight into the board's database (the HTTP interface
refuses such names, so a page must not be the only guard) must show as text
and run nothing: no alert, no script of the page's own doing.

usage: browser_check.py BOARD_URL SOURCE_DIR CHROMEDRIVER [HOSTILE_ROUND_CMD...]
  HOSTILE_ROUND_CMD, when given, is run once the rounds are verified and
  must rename the name hostile_x (a verified round of its own) to
  <script>alert(1)</script>.
"""
import json
import os
import socket
import subprocess
import sys
import time
import urllib.error
import urllib.parse
import urllib.request

HOSTILE = "<script>alert(1)</script>"
DEADLINE_S = 120  # the whole check, from start to end


def fail(msg):
    print("board_browser: FAIL: " + msg, flush=True)
    sys.exit(1)


def http(method, url, body=None, headers=None, timeout=30):
    data = None if body is None else (body if isinstance(body, bytes) else json.dumps(body).encode())
    req = urllib.request.Request(url, data=data, method=method, headers=headers or {})
    try:
        with urllib.request.urlopen(req, timeout=timeout) as r:
            return r.status, r.read()
    except urllib.error.HTTPError as e:
        return e.code, e.read()


class Driver:
    """Just enough of WebDriver: a session, navigation, a script, alerts."""

    def __init__(self, base):
        self.base = base
        caps = {"capabilities": {"alwaysMatch": {
            "browserName": "chrome",
            "goog:chromeOptions": {
                "binary": "/usr/bin/chromium",
                "args": ["--headless", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                         "--no-first-run", "--disable-extensions", "--window-size=1024,900"],
            },
        }}}
        status, body = http("POST", base + "/session", caps, {"Content-Type": "application/json"}, timeout=90)
        if status != 200:
            fail("no browser session: %d %s" % (status, body[:400]))
        self.sid = json.loads(body)["value"]["sessionId"]

    def cmd(self, method, path, payload=None):
        status, body = http(method, "%s/session/%s%s" % (self.base, self.sid, path), payload,
                            {"Content-Type": "application/json"})
        value = json.loads(body or b"{}").get("value")
        return status, value

    def go(self, url):
        status, value = self.cmd("POST", "/url", {"url": url})
        if status != 200:
            fail("the browser did not load %s: %s" % (url, value))

    def run(self, script):
        status, value = self.cmd("POST", "/execute/sync", {"script": script, "args": []})
        if status != 200:
            fail("a script in the page failed: %s" % (value,))
        return value

    def alert_text(self):
        status, value = self.cmd("GET", "/alert/text")
        return value if status == 200 else None

    def quit(self):
        self.cmd("DELETE", "")


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def submit(board, name, text):
    status, body = http("POST", board + "/api/v1/submissions?" + urllib.parse.urlencode({"name": name}),
                        text.encode(), {"Content-Type": "text/plain"})
    if status != 202:
        fail("submitting as %s: %d %s" % (name, status, body[:200]))
    return json.loads(body)["id"]


def wait_verified(board, ids, until):
    results = {}
    while time.time() < until:
        for i in ids:
            status, body = http("GET", "%s/api/v1/submissions/%d" % (board, i))
            if status == 200:
                doc = json.loads(body)
                if doc["state"] in ("rejected", "failed"):
                    fail("submission %d was %s: %s" % (i, doc["state"], doc.get("reason")))
                if doc["state"] == "verified":
                    results[i] = doc
        if len(results) == len(ids):
            return results
        time.sleep(0.2)
    fail("the rounds were not verified in time")


def digits_only(text):
    """The page's text with digit groupings taken out, so 12,040 and 12 040 read as 12040."""
    out = []
    for i, ch in enumerate(text):
        if ch in ",\u2009\u202f\u00a0 " and 0 < i < len(text) - 1 and text[i - 1].isdigit() and text[i + 1].isdigit():
            continue
        out.append(ch)
    return "".join(out)


def main():
    if len(sys.argv) < 4:
        fail("usage: browser_check.py BOARD_URL SOURCE_DIR CHROMEDRIVER [HOSTILE_ROUND_CMD...]")
    board, source, chromedriver = sys.argv[1], sys.argv[2], sys.argv[3]
    hostile_cmd = sys.argv[4:]
    until = time.time() + DEADLINE_S
    for u in (board,):
        host = urllib.parse.urlparse(u).hostname
        if host not in ("127.0.0.1", "localhost", "::1"):
            fail("the check talks to loopback only, not " + host)

    # Two rounds: the first demonstration with a different opening (so it is
    # no copy of the shipped one), and a round that barely moves.
    with open(os.path.join(source, "data", "demo1.dat"), newline="") as f:
        demo = f.read()
    changed = "00003001\r\n00005000\r\n" + demo
    idle = "00010001\r\n00012000\r\n"
    first = submit(board, "Ann_browser", changed)
    second = submit(board, "bob-browser", idle)
    ids = [first, second]
    if hostile_cmd:
        ids.append(submit(board, "hostile_x", "00020002\r\n00023000\r\n"))
    done = wait_verified(board, ids, until)
    if hostile_cmd:
        subprocess.run(hostile_cmd, check=True, timeout=30)

    port = free_port()
    driver_log = open(os.environ.get("BOARD_BROWSER_LOG", os.devnull), "w")
    cd = subprocess.Popen([chromedriver, "--port=%d" % port, "--allowed-ips=127.0.0.1"],
                          stdout=driver_log, stderr=subprocess.STDOUT)
    try:
        base = "http://127.0.0.1:%d" % port
        while time.time() < until:
            try:
                if http("GET", base + "/status", timeout=2)[0] == 200:
                    break
            except OSError:
                pass
            time.sleep(0.2)
        else:
            fail("chromedriver did not answer")
        d = Driver(base)
        try:
            check_pages(d, board, done, first, second, bool(hostile_cmd))
        finally:
            d.quit()
    finally:
        cd.terminate()
        try:
            cd.wait(timeout=20)
        except subprocess.TimeoutExpired:
            cd.kill()
            cd.wait()
    print("board_browser: PASS (scores %d and %d found on the pages)" %
          (done[first]["score"], done[second]["score"]))


def check_pages(d, board, done, first, second, hostile):
    d.go(board + "/")
    text = digits_only(d.run("return document.body.innerText;"))
    for i, name in ((first, "Ann_browser"), (second, "bob-browser")):
        if name not in text:
            fail("the board does not show %s:\n%s" % (name, text[:2000]))
        if str(done[i]["score"]) not in text:
            fail("the board does not show %s's score %d" % (name, done[i]["score"]))
    if d.alert_text() is not None:
        fail("the board opened an alert")
    if hostile:
        if HOSTILE not in text:
            fail("the board does not show the name %s as text:\n%s" % (HOSTILE, text[:2000]))
        scripts = d.run("return Array.from(document.scripts).map(s => s.textContent).join('|');")
        if "alert" in scripts:
            fail("the name became a script in the page: " + scripts)

    # The player's page, reached the way a person would: by the board's link.
    link = d.run("for (const a of document.querySelectorAll('a')) "
                 "if (a.textContent.trim() === 'Ann_browser') return a.href; return null;")
    if not link:
        fail("the board has no link to Ann_browser's page")
    d.go(link)
    text = digits_only(d.run("return document.body.innerText;"))
    if "Ann_browser" not in text or str(done[first]["score"]) not in text:
        fail("Ann_browser's page lacks the name or the score %d:\n%s" % (done[first]["score"], text[:2000]))
    if ".dat" not in d.run("return Array.from(document.querySelectorAll('a')).map(a => a.href).join(' ');"):
        fail("Ann_browser's page offers no recording to download")

    # A hostile name in the address: whatever the page says, it runs nothing.
    d.go(board + "/players/" + urllib.parse.quote(HOSTILE, safe=""))
    if d.alert_text() is not None:
        fail("a player's page for a name in the address opened an alert")
    scripts = d.run("return Array.from(document.scripts).map(s => s.textContent).join('|');")
    if "alert" in scripts:
        fail("the address became a script in the page: " + scripts)
    if hostile:
        # The latest submissions name it too.
        d.go(board + "/submissions")
        if d.alert_text() is not None:
            fail("the latest submissions opened an alert")
        if HOSTILE not in d.run("return document.body.innerText;"):
            fail("the latest submissions do not show the name %s as text" % HOSTILE)
        scripts = d.run("return Array.from(document.scripts).map(s => s.textContent).join('|');")
        if "alert" in scripts:
            fail("the name became a script in the latest submissions: " + scripts)


if __name__ == "__main__":
    main()
