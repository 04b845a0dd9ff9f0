# Sourced by the scripts that run windows: gives them one Xvfb server for their whole run (unless DISPLAY is set
# already) and stops it when the script exits.
if [ -z "${DISPLAY:-}" ]; then
  exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
  xvfb_pid=$!
  read -r display <&3
  export DISPLAY=":$display"
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
fi
