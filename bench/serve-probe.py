#!/usr/bin/env python3
"""Hostile-client figures of a data server on 127.0.0.1 (scripts/serve-bench).

  serve-probe.py pipeline PORT BASE
      three requests (a result file, a missing file, a quote) in one write on
      one connection: how many come back, and whether in the order asked.
  serve-probe.py crowd PORT BASE [--idle 1000] [--slow 100] [--samples 20] [--timeout 60]
      opens IDLE connections that send nothing and SLOW ones that send one
      header line a second and never finish, then times SAMPLES normal
      requests, each on a new connection; last, how many of the idle and
      slow connections the server has closed.
Every wait is bounded: a request with no answer within TIMEOUT seconds ends
the sampling.
"""
import argparse
import resource
import select
import socket
import statistics
import threading
import time

RESULT = "/const/hisdata/retdata/600000.txt"


def readable(sock, timeout):
    """Whether `sock` has data or an end to read within `timeout` seconds."""
    poller = select.poll()
    poller.register(sock, select.POLLIN)
    return bool(poller.poll(max(0, timeout) * 1000))


def request(path, extra=""):
    return f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1\r\n{extra}\r\n".encode()


def read_answers(sock, count, timeout):
    """Up to `count` answers (status, body) read from `sock` within `timeout` seconds."""
    deadline = time.monotonic() + timeout
    data, answers = b"", []
    while len(answers) < count:
        head_end = data.find(b"\r\n\r\n")
        if head_end >= 0:
            head = data[:head_end].decode("latin1").split("\r\n")
            length = 0
            for line in head[1:]:
                name, _, value = line.partition(":")
                if name.strip().lower() == "content-length":
                    length = int(value)
            if len(data) >= head_end + 4 + length:
                answers.append((int(head[0].split()[1]), data[head_end + 4:head_end + 4 + length]))
                data = data[head_end + 4 + length:]
                continue
        left = deadline - time.monotonic()
        if left <= 0 or not readable(sock, left):
            break
        chunk = sock.recv(65536)
        if not chunk:
            break
        data += chunk
    return answers


def pipeline(args):
    paths = [args.base + RESULT, args.base + "/const/none.txt", "/list=sh600000"]
    with socket.create_connection(("127.0.0.1", args.port), timeout=5) as s:
        s.sendall(b"".join(request(p) for p in paths))
        answers = read_answers(s, 3, 5)
    expected = [200, 404, 200]
    in_order = [a[0] for a in answers] == expected[:len(answers)] and \
        (len(answers) < 3 or answers[2][1].startswith(b"var hq_str_sh600000"))
    print(f"pipelining: {len(answers)} of 3 requests in one write answered"
          f"{', in order' if in_order and answers else ', OUT OF ORDER' if answers else ''}")


class SlowHeaders(threading.Thread):
    """Keeps sending one header line a second on each of its connections."""

    def __init__(self, socks):
        super().__init__(daemon=True)
        self.socks, self.closed, self.stop = list(socks), 0, threading.Event()

    def run(self):
        for s in self.socks:
            s.sendall(b"GET /x HTTP/1.1\r\nHost: 127.0.0.1\r\n")
        line = 0
        while not self.stop.wait(1.0):
            line += 1
            for s in list(self.socks):
                try:
                    s.sendall(f"X-Line-{line}: {line}\r\n".encode())
                except OSError:
                    self.socks.remove(s)
                    self.closed += 1


def closed_by_server(socks):
    """How many of `socks` the server has closed (or answered and closed)."""
    closed = 0
    for s in socks:
        try:
            if readable(s, 0):
                closed += 1  # an end, or an answer refusing the request
        except OSError:
            closed += 1
    return closed


def crowd(args):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))
    idle = [socket.create_connection(("127.0.0.1", args.port)) for _ in range(args.idle)]
    slow = SlowHeaders(socket.create_connection(("127.0.0.1", args.port))
                       for _ in range(args.slow))
    slow.start()
    start = time.monotonic()
    time.sleep(1)
    times, unanswered = [], False
    for _ in range(args.samples):
        t0 = time.monotonic()
        try:
            with socket.create_connection(("127.0.0.1", args.port), timeout=args.timeout) as s:
                s.sendall(request(args.base + RESULT, "Connection: close\r\n"))
                answered = read_answers(s, 1, args.timeout)
        except OSError:
            answered = []
        if not answered or answered[0][0] != 200:
            unanswered = True
            break
        times.append((time.monotonic() - t0) * 1000)
        time.sleep(0.1)
    crowd_text = f"{args.idle} idle and {args.slow} slow-header connections open"
    if times:
        print(f"normal request with {crowd_text}: median {statistics.median(times):.1f} ms, "
              f"max {max(times):.1f} ms, {len(times)} of {args.samples} answered")
    if unanswered:
        print(f"normal request with {crowd_text}: request {len(times) + 1} "
              f"not answered within {args.timeout} s")
    # Give the server's deadlines their time, then count what it has closed.
    time.sleep(max(0.0, args.hold - (time.monotonic() - start)))
    slow.stop.set()
    slow.join()
    print(f"after {time.monotonic() - start:.0f} s the server had closed "
          f"{closed_by_server(idle)} of {args.idle} idle and "
          f"{slow.closed + closed_by_server(slow.socks)} of {args.slow} slow-header connections")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["pipeline", "crowd"])
    parser.add_argument("port", type=int)
    parser.add_argument("base")
    parser.add_argument("--idle", type=int, default=1000)
    parser.add_argument("--slow", type=int, default=100)
    parser.add_argument("--samples", type=int, default=20)
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--hold", type=float, default=15, help="seconds before counting closures")
    args = parser.parse_args()
    pipeline(args) if args.mode == "pipeline" else crowd(args)


if __name__ == "__main__":
    main()
