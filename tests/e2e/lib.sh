# Shared pieces of the end-to-end tests: a private X server with a window
# manager, the real program started in it, and looks at its windows and pixels.
# Source it; set PROGRAM to the program file first.

set -euo pipefail
E2E_TMP=$(mktemp -d)
E2E_PIDS=()
APP_PID=""

e2e_cleanup() {
  local p
  for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -n "$APP_PID" ] && kill -9 "$APP_PID" 2>/dev/null || true
  [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { # check <description> <command...>
  local what=$1; shift
  if "$@"; then echo "ok - $what"; else fail "$what"; fi
}

# Starts Xvfb on a free display, then openbox, and exports DISPLAY.
start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || continue
    # openbox claims the screen before it is ready to manage windows; a window
    # mapped in between may never be managed. Its start-up command runs once it
    # is ready.
    HOME="$E2E_TMP" openbox --startup "touch $E2E_TMP/wm-ready" >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do [ -e "$E2E_TMP/wm-ready" ] && return 0; sleep 0.1; done
    fail "the window manager did not start"
  done
  fail "no free X display"
}

# Starts the program in a working folder ($1, default a new empty one) with a
# fresh HOME, and waits for its window, whose id goes to $WID.
start_program() {
  local cwd=${1:-$E2E_TMP/work}
  mkdir -p "$cwd" "$E2E_TMP/home"
  (cd "$cwd" && exec env HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP" "$PROGRAM") \
    >"$E2E_TMP/program.log" 2>&1 &
  APP_PID=$!
  WID=$(timeout 20 xdotool search --sync --onlyvisible --pid "$APP_PID" --name 'Пісня' | head -n1) || {
    echo "--- program output:" >&2
    cat "$E2E_TMP/program.log" >&2 || true
    echo "--- windows on the display:" >&2
    xwininfo -root -tree 2>&1 | head -n 40 >&2 || true
    fail "the player window did not appear"
  }
  sleep 0.3
}

# Waits for the program to end; its exit code goes to $EXIT_CODE.
wait_program_end() {
  local t
  for t in $(seq 100); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
  set +e; wait "$APP_PID"; EXIT_CODE=$?; set -e
  APP_PID=""
}

# The client area's top-left on screen, and its size: CX CY CW CH.
client_geometry() {
  local info; info=$(xwininfo -id "$1")
  CX=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
  CY=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
  CW=$(awk '/Width:/{print $2}' <<<"$info")
  CH=$(awk '/Height:/{print $2}' <<<"$info")
}

# The frame the window manager puts around a window: FL FR FT FB.
frame_extents() {
  read -r FL FR FT FB < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
}

# Takes a screenshot of the whole screen into $1.
screenshot() { import -window root "$1"; }

# The colour of a pixel of a screenshot as RRGGBB.
pixel() { # pixel <png> <x> <y>
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n1 | grep -o '#[0-9A-Fa-f]\{6\}' | tr -d '#' | tr a-f A-F
}

# A window of the program with this title appears within a few seconds.
wait_title() { timeout 5 xdotool search --sync --onlyvisible --name "$1" >/dev/null; }
