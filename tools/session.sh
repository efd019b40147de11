# One X display and one persistent wineserver for a whole run (sourced).
#   glimora_session_start   starts Xvfb unless a display is given, then the server
#   glimora_session_stop    stops both (also called on exit)
glimora_session_start() {
  GLIMORA_XVFB_PID=""
  trap glimora_session_stop EXIT  # also when a step below fails
  if [ -z "${DISPLAY:-}" ] || [ "${GLIMORA_OWN_DISPLAY:-0}" = 1 ]; then
    local fifo; fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    GLIMORA_XVFB_PID=$!
    local n; read -r -t 20 n <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$n"
  fi
  # The server must first see the display: one made without it fails every CreateWindow.
  "$GLIMORA_WINESERVER" -k 2>/dev/null || true
  "$GLIMORA_WINESERVER" -w
  "$GLIMORA_WINESERVER" -p
  "$GLIMORA_WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}

glimora_session_stop() {
  "$GLIMORA_WINESERVER" -k 2>/dev/null || true
  "$GLIMORA_WINESERVER" -w 2>/dev/null || true
  if [ -n "${GLIMORA_XVFB_PID:-}" ]; then
    kill "$GLIMORA_XVFB_PID" 2>/dev/null || true
    wait "$GLIMORA_XVFB_PID" 2>/dev/null || true
    GLIMORA_XVFB_PID=""
  fi
}
