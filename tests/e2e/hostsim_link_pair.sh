#!/bin/bash
# udp_link_net_test on the PC side of scripts/netns-pair, where its LAN cases
# run: quendra-hostsim on the LAN side answers from its own address, by
# broadcast and by unicast. Usage: hostsim_link_pair.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(QT_QPA_PLATFORM=offscreen "$root/scripts/netns-pair" "$1/tests/udp_link_net_test" 2>&1) || { echo "$out"; exit 1; }
echo "$out"
for mode in broadcast unicast; do grep -q "PASS   : UdpLinkNetTest::simulatorAnswers(LAN $mode)" <<<"$out"; done
