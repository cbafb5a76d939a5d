# Shared by scripts/demo and scripts/screenshots (sourced, not run).

# Release build (no sanitizers, no tests) of the given targets into build/release.
build_release() {
  local build=build/release
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENDRA_SANITIZE=OFF \
    -DQUENDRA_TESTS=OFF -DQUENDRA_BENCH=OFF -DQUENDRA_FUZZ=OFF >/dev/null
  cmake --build "$build" --target "$@"
}

# Runs a command in a fresh private network namespace with only `lo` up, so no
# port-1901 broadcast reaches a real interface. As root this is
# scripts/netns-run; otherwise an unprivileged user namespace, or sudo.
in_private_netns() {
  if [ "$(id -u)" -eq 0 ]; then
    scripts/netns-run "$@"
  elif unshare --user --map-root-user --net true 2>/dev/null; then
    unshare --user --map-root-user --net -- bash -c 'ip link set lo up && exec "$@"' netns "$@"
  else
    echo "note: no unprivileged namespaces here; asking sudo for a private network namespace" >&2
    sudo --preserve-env=DISPLAY,WAYLAND_DISPLAY,XDG_RUNTIME_DIR,XAUTHORITY,QT_QPA_PLATFORM scripts/netns-run "$@"
  fi
}

# The body run inside the namespace: starts quendra-hostsim, waits for its
# "ready" line, runs the command, and stops the simulator when it ends.
#   bash -c "$WITH_HOSTSIM" name SIM_BINARY HOSTS COMMAND [ARG...]
WITH_HOSTSIM='
set -euo pipefail
sim=$1 hosts=$2
shift 2
coproc SIM { exec "$sim" --hosts "$hosts"; }
trap "kill $SIM_PID 2>/dev/null || true" EXIT
if ! read -r -t 10 line <&"${SIM[0]}" || [ "$line" != ready ]; then
  echo "quendra-hostsim did not start" >&2
  exit 1
fi
"$@"
'
