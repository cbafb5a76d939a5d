#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz_reply_path (fuzz/corpus/reply_path/):
each kind of host reply and near misses. Rerun after changing it; the files
are checked in. Beside them, reply_path/sim_* and window_replies/ hold the
simulated host 1's reply to every command (in window_replies/ as datagram ops
of window_driver.h, and two sessions of them in a row), captured once from
quendra-hostsim; tests/gui/fuzz_replay_test checks each still makes its mark
on the window."""
import os

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


def main():
    def write(path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    seeds = {
        "search_answer": bytes([0x55, 0, 0x1D, 2, 0, 0xFF, 0xFF, 0xFF, 10, 1, 168, 192]) + MAC
        + bytes([0xC6, 2, 0, 0]) + "模拟主机1".encode("gbk") + b"\0",
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


if __name__ == "__main__":
    main()
