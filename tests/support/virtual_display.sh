# Sourced by the test scripts that open windows under Wine. start_display starts an X server of
# the script's own (Xvfb) on the first number from 91 on that no other server has taken, exports
# DISPLAY and sets xvfb_pid; its log goes to $work/xvfb.log. The caller stops it in its cleanup:
#   [ -n "$xvfb_pid" ] && kill "$xvfb_pid" && wait "$xvfb_pid"
xvfb_pid=
start_display() {
  local number
  for number in $(seq 91 140); do
    if [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; then continue; fi
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      kill -0 "$xvfb_pid" 2>/dev/null || break  # another server took the number meanwhile
      if [ -S "/tmp/.X11-unix/X$number" ]; then
        export DISPLAY=":$number"
        return 0
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  return 1
}
