# Sourced: makes sure there is an X display, starting a private Xvfb when there is none.
# psb_new_display starts one more (its name in PSB_NEW_DISPLAY); psb_stop_display ends exactly
# those this shell started.
PSB_XVFB_PIDS=()
psb_new_display() {
  local n
  for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 &
      PSB_XVFB_PIDS+=($!)
      for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      PSB_NEW_DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free X display number" >&2
  return 1
}
psb_stop_display() {
  local pid
  for pid in "${PSB_XVFB_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  PSB_XVFB_PIDS=()
}
if [ -z "${DISPLAY:-}" ]; then
  psb_new_display && export DISPLAY=$PSB_NEW_DISPLAY
fi
