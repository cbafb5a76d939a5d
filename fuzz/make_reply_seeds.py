#!/usr/bin/env python3
"""Writes the checked-in seed corpora (rerun after changing it):
reply_path/ (fuzz_reply_path): each kind of host reply and near misses, and
sim_*: the simulated host 1's reply to every command (sim_seeds() mirrors
sim/initial_records.cpp); window_replies/ (fuzz_window_replies): each sim_*
reply as a datagram op of window_driver.h, and two sessions of them in a row."""
import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
MAC = bytes.fromhex("024b7d000001")


def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return bytes([crc & 0xFF, crc >> 8])


def block(command, payload, high=7, low=10, marker=0x99, fixed=0x04):
    b = bytes([0x7E, command]) + payload + bytes([marker, high, low, fixed, 0])
    return b + crc16(b)


def tunnel(blk, outer=10):
    d = bytes([0x55, len(blk) >> 8, len(blk) & 0xFF, outer]) + MAC + blk
    return d + bytes([sum(d[3:]) & 0xFF])


def reply(command, body):
    d = bytes([0x55, (len(body) + 1) >> 8, (len(body) + 1) & 0xFF, command]) + body
    return d + bytes([sum(d[3:]) & 0xFF])


def sim_seeds():
    """Search, network, every tunnel command (writes acknowledged), firmware 702's refused reply."""
    gbk = lambda s: s.encode("gbk")
    r = {1: struct.pack("<BI3H2B2H2B2f", 2, 0x20250001, 60, 30, 300, 2, 16, 10, 1, 2, 1, 113.25, 23.125),
         3: struct.pack("<3H65s8sB11s11s33x2B", 60, 120, 300, b"iot.quendra.net", b"5001", 3,
                        b"13800138000", b"13912345678", 30, 1),
         150: struct.pack("<3B5H64s64s", 1, 1, 0, 192, 96, 8, 2, 5, gbk("Quendra 监测主机"), gbk("欢迎使用"))}
    for k in range(32):
        r[5 + k] = struct.pack("<B5f20s6s5f20s6s5BH4B", 64 if k == 0 else k - 1, 40 + k, -10 + k / 2, 1, k / 10,
                               0.5, gbk(f"温度{k + 1}"), gbk("℃"), 80 + k, 20, 1, 0, 1, gbk(f"湿度{k + 1}"), b"%RH",
                               k % 9, 0, (k + 1) % 9, 0, k % 7, 10 + k, 1, 0, 1, 0)
        r[85 + k] = struct.pack("<3B2H", k + 1, k < 4, k % 5, 100 * k, 2 + k % 10)
    for k in range(8):
        r[69 + k] = struct.pack("<B2H", k % 3, 60 + 5 * k, 30 + k)
    ip, pattern = bytes([10, 1, 168, 192]), lambda offsets: bytes(0x80 | (o & 0x7F) for o in offsets)
    network = struct.pack("<B4s4s4s6sB2H30s34x", 0x80, ip, b"\1" + ip[1:], b"\0\xff\xff\xff", pattern(range(13, 19)),
                          8, 2000, 2404, b"192.168.0.166") + pattern(range(88, 292))
    seeds = {"search_answer": reply(2, b"\0\xff\xff\xff" + ip + MAC + struct.pack("<H2x", 710)
                                    + gbk("模拟主机1") + b"\0"),
             "network_answer": reply(3, MAC + network)}
    for c in range(1, 151):
        seeds["%s_%03d" % ("reply" if c in r else "ack", c)] = tunnel(block(c, r.get(c, b"")))
    seeds["version_702"] = tunnel(block(1, r[1], 7, 2))
    return seeds


def main():
    def write(path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    sim = sim_seeds()
    seeds = {
        "search_answer": sim["search_answer"][:-1],  # without its frame sum
        "search_unterminated": bytes([0x55, 0, 0, 2]) + bytes(18) + b"name",
        "network_answer": bytes([0x55, 1, 0x2B, 3]) + MAC + bytes([0x80]) + bytes(range(1, 256)) + bytes(36) + b"\0",
        "base_reply": tunnel(block(1, bytes(range(27)))),
        "gprs_reply": tunnel(block(3, bytes(137))),
        "channel_reply": tunnel(block(36, bytes(range(104)))),
        "relay_reply": tunnel(block(69, bytes(5))),
        "modbus_reply": tunnel(block(85, bytes(7))),
        "led_reply": tunnel(block(150, bytes(141)), outer=11),
        "ack_703": bytes.fromhex("7e029907030400") + crc16(bytes.fromhex("7e029907030400")),
        "version_702": tunnel(block(1, bytes(27), 7, 2)),
        "marker_98": tunnel(block(2, b"", marker=0x98)),
        "short_base": tunnel(block(1, bytes(20))),
        "block_n8": tunnel(bytes.fromhex("7e99070304 00".replace(" ", "")) + crc16(bytes.fromhex("7e9907030400"))),
        "own_request": bytes.fromhex("aa000b0a024b7d0000017e01e1d0f1"),
    }
    for name, data in seeds.items():
        write(os.path.join(CORPUS, "reply_path", name), data)

    op = lambda d: bytes([0, len(d) >> 8, len(d) & 0xFF]) + d  # a datagram op of window_driver.h
    reads, acks, tab = bytearray([4, 0x7F]), bytearray([4, 0x7F]), 0
    for name, data in sim.items():
        write(os.path.join(CORPUS, "reply_path", "sim_" + name), data)
        write(os.path.join(CORPUS, "window_replies", name), op(data))
        if name.startswith("ack_"):
            acks += op(data)
        elif name != "version_702":
            reads += bytes([5, 0x80 | tab % 7]) + op(data)
            tab += 1
    write(os.path.join(CORPUS, "window_replies", "session_reads"), reads)
    write(os.path.join(CORPUS, "window_replies", "session_acks"), acks)


if __name__ == "__main__":
    main()
