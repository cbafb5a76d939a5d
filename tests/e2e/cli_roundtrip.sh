#!/bin/bash
# quendra-cli against quendra-hostsim over real UDP, inside a private network namespace: a bad file sends
# nothing; host 1 read to a file (with a text GBK cannot decode and a hand edit put in) and cloned to host 2
# gives host 2 the same records but its identity (address, terminal address, the network record's unnamed
# bytes), also when the network settings are written explicitly. Usage: cli_roundtrip.sh BUILD_DIR
set -euo pipefail
[ -n "${E2E_TRACE:-}" ] && set -x
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "${QUENDRA_IN_NETNS:-}" != 1 ]; then
  QUENDRA_IN_NETNS=1 exec "$root/scripts/netns-run" bash "$0" "$build"
fi
work=$(mktemp -d)
trap 'kill $sim ${writer:-} 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/sim/quendra-hostsim" --hosts 2 --log "$work/requests.log" > "$work/ready" &
sim=$!
for _ in $(seq 50); do [ -s "$work/ready" ] && break; sleep 0.1; done
cli() { "$build/src/cli/quendra-cli" --search-time 300 "$@"; }
# Host locks of its own: other tests write the same simulated MACs in namespaces of their own.
export QUENDRA_LOCK_DIR="$work/locks"

# A bad file is refused before anything goes out: exit status 1, the simulator's log empty.
printf '{"format": "quendra-host-config", "formatVersion": 1, "relays": [{"image": "0102"}]}' > "$work/short.json"
set +e; cli write 02-4B-7D-00-00-02 "$work/short.json" 2> "$work/err"; status=$?; set -e
[ "$status" = 1 ] && grep -q short.json "$work/err" && [ ! -s "$work/requests.log" ] || { echo "short.json: status $status"; exit 1; }

cli read 02-4B-7D-00-00-01 -o "$work/h1.json"
# Channel 4's first name becomes bytes GBK cannot decode (its field dropped,
# so the image alone says it); relay 3's start interval is edited by hand.
python3 - "$work/h1.json" <<'PY'
import json, sys
path = sys.argv[1]
f = json.load(open(path))
ch = f["channels"][3]
image = bytearray.fromhex(ch["image"])
image[21:24] = b"\xff\xfe\x80"
ch["image"] = image.hex()
del ch["fields"]["name1"]
f["relays"][2]["fields"]["startInterval"] = 77
json.dump(f, open(path, "w"), ensure_ascii=False, indent=2)
PY
cli clone "$work/h1.json" 02-4B-7D-00-00-02 | grep -q "verified"
cli write 02-4B-7D-00-00-02 "$work/h1.json" network | grep -q "verified"
cli read 02:4b:7d:00:00:02 -o "$work/h2.json"

python3 - "$work/h1.json" "$work/h2.json" <<'PY'
import json, sys
h1, h2 = (json.load(open(p)) for p in sys.argv[1:])
for group in ("gprs", "led"):
    assert h1[group]["image"] == h2[group]["image"], group
for group, identity in (("network", "hostAddress"), ("base", "terminalAddress")):
    a, b = h1[group]["fields"], h2[group]["fields"]
    assert a[identity] != b[identity] and {**a, identity: 0} == {**b, identity: 0}, group
assert h2["base"]["fields"]["terminalAddress"] == "20250002"
assert bytes.fromhex(h1["network"]["image"])[88:] != bytes.fromhex(h2["network"]["image"])[88:]
for group in ("channels", "modbus", "relays"):
    for k, (a, b) in enumerate(zip(h1[group], h2[group])):
        if group == "relays" and k == 2:
            assert b["fields"]["startInterval"] == 77, b
            continue
        assert a["image"] == b["image"], (group, k)
assert bytes.fromhex(h2["channels"][3]["image"])[21:24] == b"\xff\xfe\x80"
assert h2["host"]["mac"] == "02-4B-7D-00-00-02"
print("cli round trip: every record of host 2 as written, identity kept, odd bytes intact")
PY

# Through pipes: host 1's file from standard output into a write's standard input. Malformed JSON on standard
# input is refused before anything goes out; a reader that went away ends a write with status 8, not SIGPIPE.
cli read 02-4B-7D-00-00-01 -o - | cli write 02-4B-7D-00-00-02 - | grep -q verified
sent=$(wc -l < "$work/requests.log")
set +e; echo '{"format": ' | cli write 02-4B-7D-00-00-02 - 2> "$work/err"; status=$?; set -e
[ "$status" = 1 ] && grep -q "standard input is not JSON" "$work/err" && [ "$(wc -l < "$work/requests.log")" = "$sent" ] \
  || { echo "malformed standard input: status $status"; exit 1; }
(set +e; cli write 02-4B-7D-00-00-02 "$work/h1.json" --json 2> /dev/null; echo $? > "$work/status") | true
[ "$(cat "$work/status")" = 8 ] || { echo "closed standard output: status $(cat "$work/status")"; exit 1; }
echo "cli pipes: a file through a pipe written, malformed input refused unsent, a closed output stops the write"

# SIGTERM in the middle of a write (every reply 40 ms late): the write stops, its host-finished line says
# cancelled and what was written, and the command exits 7.
kill $sim; wait $sim 2>/dev/null || true
"$build/sim/quendra-hostsim" --hosts 2 --delay 40 > "$work/ready2" &
sim=$!
for _ in $(seq 50); do [ -s "$work/ready2" ] && break; sleep 0.1; done
python3 - "$work/h1.json" "$work/many.json" <<'PY'
import json, sys
f = json.load(open(sys.argv[1]))
for ch in f["channels"]:
    ch["fields"]["alarmDelay"] = 33
json.dump(f, open(sys.argv[2], "w"))
PY
"$build/src/cli/quendra-cli" --search-time 300 write 02-4B-7D-00-00-02 "$work/many.json" --json > "$work/events" 2> /dev/null &
writer=$!
for _ in $(seq 200); do grep -qs record-written "$work/events" && break; sleep 0.05; done
kill -TERM $writer
set +e; wait $writer; status=$?; set -e
finished=$(grep '"event":"host-finished"' "$work/events")
[ "$status" = 7 ] && grep -q '"status":"cancelled"' <<< "$finished" && grep -q '"written":"[^"]' <<< "$finished" \
  || { echo "SIGTERM: status $status; $finished"; exit 1; }
echo "cli SIGTERM: the write stopped, cancelled with what was written, status 7"
