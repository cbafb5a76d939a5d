#!/bin/bash
# Runs the browser page's test: three simulated hosts, cockpit-ws serving the
# built page with the build's quendra-cli, and Chromium through Selenium, all
# inside one private network namespace that has only the loopback interface.
#   cockpit_page_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
if [ -z "${IN_NETNS:-}" ]; then
  IN_NETNS=1 exec "$src/scripts/netns-run" "$0" "$@"
fi
source "$src/scripts/lib/web-session.sh"
port=9092
start_web_session "$build/web/quendra" "$build/src/cli" $port "$build/sim/quendra-hostsim" --hosts 3 \
  --name "3:<img src=x onerror=alert(1)>"
trap stop_web_session EXIT
HOME=$WEB_SESSION_DIR /usr/bin/python3 "$src/tests/web/cockpit_page_test.py" $port "$build/src/cli/quendra-cli"
