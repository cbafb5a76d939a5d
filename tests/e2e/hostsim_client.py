#!/usr/bin/env python3
"""An independent LAN client for quendra-hostsim, with its own frame and CRC
code (nothing shared with the C++ codecs); only inside a private network
namespace. It binds like the tool: 0.0.0.0:1901 to receive and one send socket
per --local ADDR:1901 (where a unicast reply lands), all read."""
import argparse
import os
import select
import signal
import socket
import subprocess
import sys
import time

PORT = 1901
FAILURES = []


def check(cond, what):
    if not cond:
        FAILURES.append(what)
        print("FAIL:", what, file=sys.stderr)
    return cond


def crc16_modbus(data):
    """Bitwise CRC-16/MODBUS: reflected 0xA001, preset 0xFFFF, no final XOR."""
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def outer_sum(frame):
    return sum(frame[3:]) & 0xFF


def request(command, mac=None, payload=b""):
    body = bytes([command]) + (bytes(mac) if mac is not None else b"") + payload
    frame = bytes([0xAA, len(body) >> 8, len(body) & 0xFF]) + body
    return frame + bytes([outer_sum(frame)])


def tunnel_request(mac, command, payload=b""):
    block = bytes([0x7E, command]) + payload
    crc = crc16_modbus(block)
    return request(10, mac, block + bytes([crc & 0xFF, crc >> 8]))


def mac_of(index):  # the simulator's numbering, host 0 first
    n = index + 1
    return bytes([0x02, 0x4B, 0x7D, (n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF])


def ip_of(index):
    return bytes([192, 168, 1 + index // 200, 10 + index % 200])


PAYLOAD = {1: 27, 3: 137, 150: 141, 5: 104, 36: 104, 69: 5, 76: 5, 85: 7, 116: 7}  # the reads tried


class Client:
    def __init__(self, locals_, expect_from=None):
        self.sent = []
        self.expect_from = expect_from
        self.recv_sock = self._socket("0.0.0.0")
        self.send_socks = [self._socket(a) for a in locals_]

    @staticmethod
    def _socket(address):
        s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for option, value in ((socket.SO_REUSEADDR, 1), (socket.SO_BROADCAST, 1), (socket.SO_RCVBUF, 4 << 20)):
            s.setsockopt(socket.SOL_SOCKET, option, value)
        s.bind((address, PORT))
        return s

    def send(self, frame):
        self.sent.append(frame)
        for s in self.send_socks:
            s.sendto(frame, ("255.255.255.255", PORT))

    def collect(self, wait, until=None):
        """Replies (marker 0x55) arriving within `wait` seconds, or until
        `until(replies)` holds; with no wait, those already here."""
        replies = []
        socks = [self.recv_sock] + self.send_socks
        end = time.monotonic() + wait
        while not (until and until(replies)):
            ready, _, _ = select.select(socks, [], [], max(0.0, end - time.monotonic()))
            if not ready:
                return replies
            for s in ready:
                data, sender = s.recvfrom(65536)
                if data and data[0] == 0x55:
                    replies.append(data)
                    if self.expect_from:
                        check(sender == (self.expect_from, PORT), "reply from %s:%d" % sender)
        return replies

    def exchange(self, frame, count=1, wait=3.0):
        self.send(frame)
        return self.collect(wait, lambda r: len(r) >= count)

    def nothing_for(self, frame, what):
        self.send(frame)
        self.nothing_more(what)

    def nothing_more(self, what):
        """No reply is on its way: the simulator answers in the order it was asked, so a reply to what came before
        arrives ahead of the probe's (host 0's network settings, which no scenario changes)."""
        got = self.exchange(request(3, mac_of(0)))
        check(len(got) == 1 and got[0][3] == 3 and got[0][4:10] == mac_of(0),
              what + ": expected no reply before the probe's, got " + " ".join(g.hex() for g in got))


def check_search_answer(d, index):
    name = ("模拟主机%d" % (index + 1)).encode("gbk") + b"\0"
    check(len(d) >= 24 and d[3] == 2 and int.from_bytes(d[1:3], "big") == len(d) - 4 and d[-1] == outer_sum(d[:-1])
          and d[8:12] == ip_of(index)[::-1] and d[12:18] == mac_of(index)
          and int.from_bytes(d[18:20], "little") == 710 + index and d[22:22 + len(name)] == name,
          "search answer of host %d: %s" % (index, d.hex()))


def check_tunnel_reply(d, mac, command, payload_len, version=(7, 10)):
    """Returns the payload of a well-formed tunnel reply, else None."""
    n = payload_len + 9
    block = d[10:10 + n]
    crc = crc16_modbus(block[:n - 2])
    ok = (len(d) == n + 11 and d[:4] == bytes([0x55, n >> 8, n & 0xFF, 10]) and d[4:10] == bytes(mac)
          and d[-1] == outer_sum(d[:-1]) and block[:2] == bytes([0x7E, command])
          and block[n - 7:n - 2] == bytes([0x99, version[0], version[1], 0x04, block[n - 3]])
          and block[n - 2:] == bytes([crc & 0xFF, crc >> 8]))
    return block[2:n - 7] if check(ok, "cmd %d: tunnel reply %s" % (command, d.hex())) else None


def scenario_basic(c, hosts, sim_log):
    answers = c.exchange(request(2), hosts)
    c.nothing_more("search: one answer per host")
    check(len(answers) == hosts, "search: %d answers for %d hosts" % (len(answers), hosts))
    by_mac = {a[12:18]: a for a in answers if len(a) >= 18}
    for i in range(hosts):
        if check(mac_of(i) in by_mac, "search: host %d answered" % i):
            check_search_answer(by_mac[mac_of(i)], i)

    mac = mac_of(hosts - 1)
    r = c.exchange(request(3, mac))
    record = None
    if check(len(r) == 1 and len(r[0]) == 303 and r[0][:4] == bytes([0x55, 1, 43, 3]) and r[0][-1] == outer_sum(r[0][:-1]),
             "network answer: 303 bytes, command 3"):
        record = r[0][10:302]
        check(record[0] == 0x80 and record[1:5] == ip_of(hosts - 1)[::-1] and record[19] == 8
              and record[24:38] == b"192.168.0.166\0" and all(record[13:19]) and all(record[88:292]),
              "network record: static mode, IP, connections, server, hidden bytes non-zero")

    for cmd in PAYLOAD:
        r = c.exchange(tunnel_request(mac, cmd))
        if check(len(r) == 1, "tunnel read %d answered once (got %d)" % (cmd, len(r))):
            p = check_tunnel_reply(r[0], mac, cmd, PAYLOAD[cmd])
            if p is not None and cmd == 1:
                check(p[1:5] == (0x20250001 + hosts - 1).to_bytes(4, "little"), "base terminal address")

    # Writes: stored into the read command's record and acknowledged.
    for write, read, size in ((2, 1, 27), (4, 3, 137), (40, 8, 104), (80, 72, 5), (120, 88, 7), (149, 150, 141)):
        payload = bytes((write + i) & 0xFF for i in range(size))
        r = c.exchange(tunnel_request(mac, write, payload))
        if check(len(r) == 1, "write %d acknowledged" % write):
            check_tunnel_reply(r[0], mac, write, 0)
        r = c.exchange(tunnel_request(mac, read))
        if check(len(r) == 1, "read %d after write" % read):
            check(check_tunnel_reply(r[0], mac, read, size) == payload, "read %d returns what %d wrote" % (read, write))
    bad_crc = bytearray(tunnel_request(mac, 1))
    bad_crc[12], bad_crc[13] = bad_crc[13], bad_crc[12]
    bad_crc[-1] = outer_sum(bad_crc[:-1])
    bad_sum = request(3, mac)[:-1] + b"\x00"
    for frame, what in ((tunnel_request(mac, 2, bytes(26)), "base write of 26 bytes"), (tunnel_request(mac, 151), "command 151"),
                        (bytes(bad_crc), "swapped tunnel CRC"), (bad_sum, "bad outer sum"), (request(3, bytes(6)), "another MAC")):
        c.nothing_for(frame, what)

    # Network write, factory reset, MAC write.
    if record is not None:
        changed = b"\0" + record[1:19] + b"\5" + record[20:]
        for frame, what, now in ((request(4, mac, changed), "network write", changed),
                                 (request(6, mac), "factory reset", record)):
            c.nothing_for(frame, what)
            r = c.exchange(request(3, mac))
            check(len(r) == 1 and r[0][10:302] == now, what + ": the network record read back")
    new_mac = bytes.fromhex("024b7dabcdef")
    c.nothing_for(request(15, mac, new_mac), "MAC write")
    c.nothing_for(request(3, mac), "old MAC after MAC write")
    r = c.exchange(request(3, new_mac))
    check(len(r) == 1 and r[0][4:10] == new_mac, "new MAC answers")
    answers = c.exchange(request(2), hosts)
    check(any(a[12:18] == new_mac for a in answers), "search shows the new MAC")
    c.nothing_for(request(15, new_mac, mac), "MAC written back")

    if sim_log:  # the last probe was answered: every request is in the log by now
        with open(sim_log) as f:
            lines = [l.strip() for l in f if l.strip()]
        expected = [s.hex() for s in c.sent]
        check(lines == expected, "simulator log holds every request once, in order (%d lines, %d sent)"
              % (len(lines), len(expected)))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--local", action="append", required=True, help="address to send from (repeatable)")
    ap.add_argument("--hosts", type=int, default=3, help="at least 2: host 0 answers the probes")
    ap.add_argument("--sim", help="start this simulator in this namespace")
    ap.add_argument("--sim-log", help="the simulator's request log to compare with what was sent")
    ap.add_argument("--expect-from", help="every reply must come from ADDR:1901")
    ap.add_argument("sim_args", nargs="*", help="simulator arguments (after --)")
    a = ap.parse_args()

    proc = None
    if a.sim:
        proc = subprocess.Popen([a.sim] + a.sim_args + (["--log", a.sim_log] if a.sim_log else []), stdout=subprocess.PIPE)
        check(proc.stdout.readline().strip() == b"ready", "simulator prints ready")
    c = Client(a.local, a.expect_from)
    try:
        scenario_basic(c, a.hosts, a.sim_log)
    finally:
        if proc:
            proc.send_signal(signal.SIGTERM)
            try:
                check(proc.wait(5) == 0, "simulator exits 0 on SIGTERM")
            except subprocess.TimeoutExpired:
                proc.kill()
                check(False, "simulator ends on SIGTERM")
    print("FAILED %d checks" % len(FAILURES) if FAILURES else "ok")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
