# Sourced: makes sure there is an X display, starting a private Xvfb when there is none.
# Sets PSB_XVFB_PID when it started one; psb_stop_display ends exactly that one.
PSB_XVFB_PID=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 &
      PSB_XVFB_PID=$!
      for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      export DISPLAY=":$n"
      break
    fi
  done
fi
psb_stop_display() {
  if [ -n "${PSB_XVFB_PID:-}" ]; then
    kill "$PSB_XVFB_PID" 2>/dev/null || true
    wait "$PSB_XVFB_PID" 2>/dev/null || true
    PSB_XVFB_PID=
  fi
}
