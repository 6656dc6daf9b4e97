#!/usr/bin/env python3
"""The board as separate processes, killed the hard way, on loopback only.

  cluster_check.py BOARD_BINARY postgres URL WORK_DIR
      one `serve --verifiers 0` and `verify` processes on one PostgreSQL
      database; 300 submissions; a worker killed with SIGKILL while it
      holds a job (that job is verified by another once the lease runs
      out), three more sharing the rest; the web server killed with SIGKILL
      half-way and started again. Every accepted submission ends verified,
      each exactly once.

  cluster_check.py BOARD_BINARY sqlite - WORK_DIR
      one `serve` with two verifier threads on an SQLite file; 300
      submissions; the server killed with SIGKILL half-way (with rounds in
      its verifiers' hands) and started again: nothing accepted is lost and
      every round ends verified.

Submissions are tiny recordings (a key held a few updates, each at another
update) under a name each, so every one is new and needs no token.
"""
import json
import os
import re
import signal
import socket
import subprocess
import sys
import time
import urllib.error
import urllib.request

DEADLINE_S = 240
LEASE_S = 2
ROUNDS = 300


def fail(msg):
    print("board_cluster: FAIL: " + msg, flush=True)
    sys.exit(1)


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def http(method, url, body=None, timeout=10):
    req = urllib.request.Request(url, data=body, method=method, headers={"Content-Type": "text/plain"})
    try:
        with urllib.request.urlopen(req, timeout=timeout) as r:
            return r.status, r.read()
    except urllib.error.HTTPError as e:
        return e.code, e.read()


def recording(k):
    return ("%05d%03d\r\n%05d%03d\r\n" % (10 + k, 1 + k % 4, 14 + k, 0)).encode()


class Board:
    """The processes of one board, started and ended by this check only."""

    def __init__(self, binary, db, work, until):
        self.binary, self.db, self.work, self.until = binary, db, work, until
        self.port = free_port()
        self.base = "http://127.0.0.1:%d" % self.port
        self.server = None
        self.workers = []
        self.logs = []

    def start_server(self, verifiers):
        log = os.path.join(self.work, "serve-%d.log" % len(self.logs))
        self.logs.append(log)
        self.server = subprocess.Popen(
            [self.binary, "serve", "--listen", "127.0.0.1:%d" % self.port, "--db", self.db,
             "--verifiers", str(verifiers), "--lease", str(LEASE_S), "--rate", "0", "--name-rate", "0"],
            stdout=subprocess.DEVNULL, stderr=open(log, "w"))
        while time.time() < self.until:
            if self.server.poll() is not None:
                fail("the server ended at start:\n" + open(log).read())
            try:
                if http("GET", self.base + "/healthz", timeout=2)[0] == 200:
                    return
            except OSError:
                pass
            time.sleep(0.05)
        fail("the server did not answer")

    def start_worker(self):
        log = os.path.join(self.work, "verify-%d.log" % len(self.workers))
        p = subprocess.Popen([self.binary, "verify", "--db", self.db, "--workers", "1", "--lease", str(LEASE_S),
                              "--poll", "1"], stdout=subprocess.DEVNULL, stderr=open(log, "w"))
        self.workers.append((p, log))
        return p

    def kill_server(self):
        self.server.send_signal(signal.SIGKILL)
        self.server.wait()

    def end(self):
        for p in [self.server] + [w for w, _ in self.workers]:
            if p is not None and p.poll() is None:
                p.send_signal(signal.SIGTERM)
        for p in [self.server] + [w for w, _ in self.workers]:
            if p is None:
                continue
            try:
                p.wait(timeout=30)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()


def submit_all(board, first, last, accepted):
    for k in range(first, last):
        while True:
            if time.time() > board.until:
                fail("out of time submitting")
            try:
                status, body = http("POST", "%s/api/v1/submissions?name=p%03d" % (board.base, k), recording(k))
            except OSError:
                status, body = 0, b""
            if status == 202:
                accepted[k] = json.loads(body)["id"]
                break
            if status == 409:
                # Accepted before the server was killed, the answer lost with it.
                accepted[k] = json.loads(body)["id"]
                break
            if status in (0, 503):
                time.sleep(0.1)
                continue
            fail("submission %d: %d %s" % (k, status, body[:200]))


def states(board, ids):
    out = {}
    for i in ids:
        status, body = http("GET", "%s/api/v1/submissions/%d" % (board.base, i))
        if status != 200:
            fail("submission %d is gone: %d" % (i, status))
        out[i] = json.loads(body)
    return out


def wait_all_verified(board, ids):
    while time.time() < board.until:
        got = states(board, ids)
        bad = [d for d in got.values() if d["state"] in ("rejected", "failed")]
        if bad:
            fail("a round was %s: %s" % (bad[0]["state"], bad[0]))
        if all(d["state"] == "verified" for d in got.values()):
            return got
        time.sleep(0.25)
    left = [i for i, d in states(board, ids).items() if d["state"] != "verified"]
    fail("%d rounds never verified, e.g. %s" % (len(left), left[:5]))


def psql(url, sql):
    return subprocess.run(["psql", "-XAtq", url, "-c", sql], check=True, capture_output=True, text=True,
                          timeout=30).stdout.strip()


def kill_worker_holding_a_job(board, url, worker):
    """SIGKILL `worker` at a moment it holds a job; returns that job's id."""
    for _ in range(400):
        if time.time() > board.until:
            break
        worker.send_signal(signal.SIGSTOP)
        held = psql(url, "SELECT id FROM submission WHERE state = 'running' AND lease_owner LIKE '%%:%d:%%'"
                    % worker.pid)
        if held:
            worker.send_signal(signal.SIGKILL)
            worker.wait()
            return int(held.split()[0])
        worker.send_signal(signal.SIGCONT)
        time.sleep(0.01)
    fail("the worker to be killed never held a job")


def postgres(binary, url, work):
    until = time.time() + DEADLINE_S
    board = Board(binary, url, work, until)
    accepted = {}
    try:
        board.start_server(0)
        # Half the rounds queued before any worker runs, so all three have work.
        submit_all(board, 0, ROUNDS // 2, accepted)
        # The worker to be killed starts alone, so it is sure to hold jobs.
        victim_job = kill_worker_holding_a_job(board, url, board.start_worker())
        for _ in range(3):
            board.start_worker()
        board.kill_server()
        board.start_server(0)
        submit_all(board, ROUNDS // 2, ROUNDS, accepted)
        done = wait_all_verified(board, accepted.values())
    finally:
        board.end()

    if len(set(accepted.values())) != ROUNDS:
        fail("%d submissions answered with %d ids" % (ROUNDS, len(set(accepted.values()))))
    # The killed worker's job: taken again after its lease, by another worker.
    attempts = int(psql(url, "SELECT attempts FROM submission WHERE id = %d" % victim_job))
    if attempts != 2:
        fail("the killed worker's job %d was claimed %d times, not twice" % (victim_job, attempts))
    if done[victim_job]["state"] != "verified":
        fail("the killed worker's job %d is %s" % (victim_job, done[victim_job]["state"]))
    # Each round verified once: no worker's log tells of a round twice, and
    # only the killed worker can have finished one without telling.
    told = {}
    for _, log in board.workers[1:]:
        for m in re.finditer(r"^job (\d+) \S+ verified", open(log).read(), re.M):
            told[int(m.group(1))] = told.get(int(m.group(1)), 0) + 1
    for m in re.finditer(r"^job (\d+) \S+ verified", open(board.workers[0][1]).read(), re.M):
        told[int(m.group(1))] = told.get(int(m.group(1)), 0) + 1
    twice = [i for i, n in told.items() if n > 1]
    if twice:
        fail("rounds verified more than once: %s" % twice[:10])
    untold = set(accepted.values()) - set(told)
    if len(untold) > 1:
        fail("%d rounds verified by nobody's account: %s" % (len(untold), sorted(untold)[:10]))
    lost = [l for _, l in board.workers if "lease lost" in open(l).read()]
    busy = [l for _, l in board.workers[1:] if re.search(r"^job \d+ \S+ verified", open(l).read(), re.M)]
    if len(busy) < 2:
        fail("the surviving workers did not share the work: only %d verified anything" % len(busy))
    print("board_cluster: PASS (postgres: %d rounds verified once each by %d workers; job %d of the killed "
          "worker taken again; server killed and restarted; %d lease losses)"
          % (ROUNDS, len(busy) + 1, victim_job, len(lost)))


def sqlite(binary, work):
    until = time.time() + DEADLINE_S
    db = os.path.join(work, "board.db")
    board = Board(binary, db, work, until)
    accepted = {}
    try:
        board.start_server(2)
        submit_all(board, 0, ROUNDS // 2, accepted)
        # Killed while its verifiers work through the queue.
        board.kill_server()
        board.start_server(2)
        submit_all(board, ROUNDS // 2, ROUNDS, accepted)
        wait_all_verified(board, accepted.values())
        if len(set(accepted.values())) != ROUNDS:
            fail("%d submissions answered with %d ids" % (ROUNDS, len(set(accepted.values()))))
        status, body = http("GET", board.base + "/api/v1/scores?limit=100")
        if status != 200 or json.loads(body)["total"] != ROUNDS:
            fail("the board does not rank every name: %d %s" % (status, body[:200]))
    finally:
        board.end()
    print("board_cluster: PASS (sqlite: %d rounds, server killed and restarted, none lost)" % ROUNDS)


def main():
    if len(sys.argv) != 5:
        fail("usage: cluster_check.py BOARD_BINARY postgres|sqlite URL|- WORK_DIR")
    binary, kind, url, work = sys.argv[1:]
    if kind == "postgres":
        postgres(binary, url, work)
    elif kind == "sqlite":
        sqlite(binary, work)
    else:
        fail("unknown backend " + kind)


if __name__ == "__main__":
    main()
