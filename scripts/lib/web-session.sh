# Serves the browser page with Cockpit's web server inside the current
# (private) network namespace, beside simulated hosts. Sourced by scripts/demo
# --web and the browser test; meant for a namespace made by scripts/netns-run:
# the session belongs to whoever started it and needs no login, so its port
# must never be reachable from a real network.
#   start_web_session PAGE_DIR CLI_DIR PORT [HOSTSIM ARGS...]
# Sets WEB_SESSION_DIR; stop_web_session ends what it started.
start_web_session() {
  local page=$1 cli=$2 port=$3
  shift 3
  WEB_SESSION_DIR=$(mktemp -d)
  mkdir -p "$WEB_SESSION_DIR/share/cockpit" "$WEB_SESSION_DIR/runtime"
  chmod 700 "$WEB_SESSION_DIR/runtime"
  ln -s "$(realpath "$page")" "$WEB_SESSION_DIR/share/cockpit/quendra"
  "$@" > "$WEB_SESSION_DIR/hostsim.out" 2>&1 &
  WEB_SESSION_PIDS=($!)
  # Its history and host locks stay in the session's folder, as the page's own
  # data folder (where Cockpit finds it) does.
  export XDG_DATA_HOME="$WEB_SESSION_DIR/share" QUENDRA_LOCK_DIR="$WEB_SESSION_DIR/locks"
  XDG_RUNTIME_DIR="$WEB_SESSION_DIR/runtime" \
    PATH="$(realpath "$cli"):$PATH" \
    /usr/lib/cockpit/cockpit-ws --no-tls --address 127.0.0.1 --port "$port" \
    --local-session=cockpit-bridge > "$WEB_SESSION_DIR/cockpit-ws.out" 2>&1 &
  WEB_SESSION_PIDS+=($!)
  local i
  for i in $(seq 100); do
    grep -q ready "$WEB_SESSION_DIR/hostsim.out" 2>/dev/null &&
      (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "web session: cockpit-ws or the simulator did not start" >&2
  cat "$WEB_SESSION_DIR"/*.out >&2
  return 1
}

stop_web_session() {
  kill "${WEB_SESSION_PIDS[@]}" 2>/dev/null || true
  wait "${WEB_SESSION_PIDS[@]}" 2>/dev/null || true
  rm -rf "$WEB_SESSION_DIR"
}
