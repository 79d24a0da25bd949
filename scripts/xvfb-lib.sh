# Sourced by the scripts: starts a private Xvfb when no display is set.
# Xvfb picks a free display itself (-displayfd) and is stopped by PID on exit.
quell_start_xvfb() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local dfile
  dfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dfile" >/dev/null 2>&1 &
  QUELL_XVFB_PID=$!
  trap 'kill "$QUELL_XVFB_PID" 2>/dev/null || true' EXIT
  local i
  for i in $(seq 1 100); do
    if [ -s "$dfile" ]; then break; fi
    sleep 0.1
  done
  if [ ! -s "$dfile" ]; then echo "Error: Xvfb did not start" >&2; rm -f "$dfile"; return 1; fi
  export DISPLAY=":$(head -n1 "$dfile")"
  rm -f "$dfile"
}
