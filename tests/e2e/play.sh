#!/usr/bin/env bash
# The real program plays a file: pick a WAV in the file-open dialog, expand,
# click its entry; the bar shows Play coloured and Pause and Stop greyed,
# Play makes Pause and Stop usable, and at the end of the media Play is
# coloured and Pause and Stop greyed again. A missing name typed into the
# dialog gives the error box and the program goes on; a later click restarts
# the file; closing the window while it plays ends the program quietly.
PROGRAM=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
start_display

music=$E2E_TMP/music
mkdir -p "$music"
name=tone.wav
seconds=2
# GStreamer's plugin registry for this run, built while making the WAV, so
# that the program's first open does not wait for a plugin scan.
export GST_REGISTRY=$E2E_TMP/gst-registry.bin
# 10 ms buffers of a 440 Hz tone.
gst-launch-1.0 -q audiotestsrc num-buffers=$((seconds * 100)) samplesperbuffer=441 ! audioconvert \
  ! wavenc ! filesink location="$music/$name" || fail "could not make the WAV"

start_program "$music"
client_geometry "$WID"
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

# The faces of Play, Pause and Stop (the bar lies at (145, 3), faces 29 px
# wide sharing their edges), sampled on each picture's left part.
shot=$E2E_TMP/shot.png
read_faces() { # sets PLAY PAUSE STOP from a fresh screenshot
  screenshot "$shot"
  PLAY=$(pixel "$shot" $((CX + 145 + 12)) $((CY + 13)))
  PAUSE=$(pixel "$shot" $((CX + 173 + 12)) $((CY + 13)))
  STOP=$(pixel "$shot" $((CX + 201 + 12)) $((CY + 13)))
}
read_faces
GREY=("$PLAY" "$PAUSE" "$STOP")
check "the three faces drawn before any file is open" test -n "$PLAY" -a -n "$PAUSE" -a -n "$STOP"

# The bar shows a pattern of Play, Pause, Stop ("+" coloured, "-" greyed as
# before any file was open) within a time.
pattern_now() {
  local face out="" i
  read_faces
  face=("$PLAY" "$PAUSE" "$STOP")
  for i in 0 1 2; do if [ "${face[i]}" = "${GREY[i]}" ]; then out+=-; else out+=+; fi; done
  echo "$out"
}
faces_are() { # faces_are <pattern> <ms>
  local since
  since=$(date +%s%N)
  until [ "$(pattern_now)" = "$1" ]; do
    [ "$(ms_since "$since")" -gt "$2" ] && return 1
    sleep 0.05
  done
}
press_play() { xdotool mousemove $((CX + 145 + 14)) $((CY + 13)) click 1 mousemove $((CX + 100)) $((CY + 10)); }
click_entry() { xdotool mousemove $((CX + 50)) $((CY + 57)) click 1; }

# Pick the file: the open button, its full path into the dialog's name box.
open_dialog() {
  xdotool mousemove $((CX + 43)) $((CY + 37)) click 1
  DWID=$(timeout 5 xdotool search --sync --onlyvisible --name '^Відкрити$' | head -n1) ||
    fail "the file-open dialog did not appear"
  xdotool windowactivate --sync "$DWID"
  sleep 0.2
  xdotool type --delay 10 "$1"
  xdotool key Return
}
open_dialog "$music/$name"
check "title names the chosen file" wait_title "Пісня: $name"

# Expand, then one click on the entry plays it.
xdotool mousemove $((CX + 12)) $((CY + 37)) click 1
sleep 0.5
clicked=$(date +%s%N)
click_entry
check "playing: Play coloured, Pause and Stop greyed" faces_are +-- 10000
echo "# Play coloured $(ms_since "$clicked") ms after the click"
start=$(date +%s%N)
check "a media host plays for the program" pgrep -P "$APP_PID" -f lunohrai-media-host >/dev/null

# Play goes on playing and makes Pause and Stop usable.
press_play
check "after Play: Play greyed, Pause and Stop coloured" faces_are -++ 3000

# The end of the media brings Play back and greys Pause and Stop; it comes
# when the tone has played in real time, not at once.
check "at the end: Play coloured, Pause and Stop greyed" faces_are +-- $((seconds * 1000 + 8000))
elapsed=$(ms_since "$start")
# Playing began before Play was seen coloured (a screenshot or two earlier).
check "the end came after the tone played (${elapsed} ms)" test "$elapsed" -ge $((seconds * 1000 - 1000))

# A name that does not exist: the error box, closed with Return; the
# program goes on with its title unchanged.
open_dialog "$music/missing.wav"
BOX=$(timeout 5 xdotool search --sync --onlyvisible --name '^Лунограй 2007$' | head -n1) ||
  fail "no error box for a missing name"
xdotool windowactivate --sync "$BOX" key Return
box_gone() {
  local _
  for _ in $(seq 30); do
    xdotool search --onlyvisible --name '^Лунограй 2007$' >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
check "the error box closed" box_gone
check "the program goes on" kill -0 "$APP_PID"
check "the title still names the file" wait_title "Пісня: $name"

# Play after the end plays again (Play greyed); a later click on the entry
# restarts the file on a fresh device (Play coloured again).
press_play
check "Play after the end: Play greyed" faces_are -++ 3000
clicked=$(date +%s%N)
click_entry
check "a later click plays again" faces_are +-- 10000
echo "# a later click: Play coloured $(ms_since "$clicked") ms after it"

# Closing the window while it plays ends the program quietly.
hosts=$(pgrep -P "$APP_PID" -f lunohrai-media-host || true)
check "a media host plays again" test -n "$hosts"
xdotool windowactivate --sync "$WID" key --clearmodifiers alt+F4
wait_program_end
check "closing during play ends with exit code 0" test "$EXIT_CODE" = 0
host_runs() {
  local pid
  for pid in $hosts; do kill -0 "$pid" 2>/dev/null && return 0; done
  return 1
}
hosts_gone() {
  local _
  for _ in $(seq 30); do
    host_runs || return 0
    sleep 0.1
  done
  return 1
}
check "no media host outlives the program" hosts_gone
check "no message at the end" test -z "$(grep -v QStandardPaths "$E2E_TMP/program.log" || true)"
echo "all passed"
