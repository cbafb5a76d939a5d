#!/bin/bash
# UdpLink against quendra-hostsim across two namespaces (scripts/netns-pair):
# the tool's side sends from its veth address and from lo, the simulator on
# the LAN side answers from its own address, by broadcast and by unicast.
# Runs the whole udp_link_net_test on the PC side; its two-namespace case is
# only active there. Usage: hostsim_link_pair.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
export QT_QPA_PLATFORM=offscreen
out=$("$root/scripts/netns-pair" "$build/tests/udp_link_net_test" 2>&1) || { echo "$out"; exit 1; }
echo "$out"
grep -q "PASS   : UdpLinkNetTest::repliesFromAnotherMachine(broadcast)" <<<"$out"
grep -q "PASS   : UdpLinkNetTest::repliesFromAnotherMachine(unicast)" <<<"$out"
