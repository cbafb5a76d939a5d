#!/bin/bash
# quendra-hostsim on the wire, checked by an independent client
# (hostsim_client.py: its own frames and CRC): search, network read/write,
# factory reset, MAC write and tunnel reads/writes, byte for byte, in both
# reply modes; first with client and simulator in one namespace (only lo, as
# when the tool and the simulator share a PC), then across two namespaces
# (replies from another machine's address). Usage: hostsim_wire.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
sim="$build/sim/quendra-hostsim"
client="$here/hostsim_client.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

step() { echo "== $*"; }

step "--help documents every option; a bad option is refused"
netns=("$root/scripts/netns-run" timeout 10)  # even these runs stay off the real interfaces
help=$("${netns[@]}" "$sim" --help)
for opt in --hosts --reply --log --drop --silent --late --delay --trailer-version --help; do
  grep -q -- "$opt" <<<"$help" || { echo "--help lacks $opt"; exit 1; }
done
for bad in "--reply multicast" "--late 71" "--hosts 0" "--trailer-version 7" "--silent 151" "--drop 101" "--frobnicate"; do
  set +e
  "${netns[@]}" "$sim" $bad 2>/dev/null
  rc=$?
  set -e
  [ "$rc" = 2 ] || { echo "quendra-hostsim $bad: exit $rc, expected 2"; exit 1; }
done

for mode in broadcast unicast; do
  step "one namespace, $mode replies"
  "$root/scripts/netns-run" python3 "$client" --local 127.0.0.1 --hosts 3 --expect-from 127.0.0.1 \
    --sim "$sim" --sim-log "$work/one-$mode.log" -- --hosts 3 --reply "$mode"
done

for mode in broadcast unicast; do
  step "two namespaces, $mode replies (simulator on the LAN side)"
  log="$work/two-$mode.log"
  # The client sends from both PC addresses, like the tool; only the veth copy
  # reaches the LAN side, so the log holds every request once.
  "$root/scripts/netns-pair" python3 "$client" --local 10.201.0.1 --local 127.0.0.1 --hosts 2 \
    --expect-from 10.201.0.2 --sim-log "$log" -- "$sim" --hosts 2 --reply "$mode" --log "$log"
done
echo "hostsim_wire: all ok"
