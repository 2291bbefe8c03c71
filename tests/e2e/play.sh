#!/usr/bin/env bash
# The real program plays a file: pick a WAV in the file-open dialog, expand,
# click its entry; the bar shows Play coloured and Pause and Stop greyed,
# Play makes Pause and Stop usable, and at the end of the media Play is
# coloured and Pause and Stop greyed again. A missing name typed into the
# dialog gives the error box and the program goes on; closing it while it
# plays ends it quietly.
PROGRAM=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
start_display

music=$E2E_TMP/music
mkdir -p "$music"
name=tone.wav
seconds=2
# 10 ms buffers of a 440 Hz tone.
gst-launch-1.0 -q audiotestsrc num-buffers=$((seconds * 100)) samplesperbuffer=441 ! audioconvert \
  ! wavenc ! filesink location="$music/$name" || fail "could not make the WAV"

start_program "$music"
client_geometry "$WID"

# The faces of Play, Pause and Stop (the bar lies at (145, 3), faces 29 px
# wide sharing their edges), sampled on each picture's left part.
faces() { # faces <png>: the three colours, space-separated
  local x
  for x in 145 173 201; do printf '%s ' "$(pixel "$1" $((CX + x + 12)) $((CY + 13)))"; done
  echo
}
shot=$E2E_TMP/shot.png
screenshot "$shot"
read -r grey_play grey_pause grey_stop < <(faces "$shot")
check "the three faces drawn before any file is open" test -n "$grey_play" -a -n "$grey_stop"

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
xdotool mousemove $((CX + 50)) $((CY + 57)) click 1
clicked=$(date +%s%N)
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }
# The first open starts the media host (in a fresh session GStreamer first
# reads its plugins): wait for Play to change, within the open's bound.
while :; do
  screenshot "$shot"
  read -r play pause stop < <(faces "$shot")
  [ "$play" != "$grey_play" ] || [ "$(ms_since "$clicked")" -gt 12000 ] && break
  sleep 0.05
done
start=$(date +%s%N)
echo "# Play coloured $(ms_since "$clicked") ms after the click"
check "playing: Play coloured" test "$play" != "$grey_play"
check "playing: Pause greyed" test "$pause" = "$grey_pause"
check "playing: Stop greyed" test "$stop" = "$grey_stop"
check "a media host plays for the program" pgrep -P "$APP_PID" -f lunohrai-media-host >/dev/null

# Play goes on playing and makes Pause and Stop usable.
xdotool mousemove $((CX + 145 + 14)) $((CY + 13)) click 1 mousemove $((CX + 100)) $((CY + 10))
sleep 0.3
screenshot "$shot"
read -r play_pressed pause_pressed stop_pressed < <(faces "$shot")
check "after Play: Play greyed" test "$play_pressed" = "$grey_play"
check "after Play: Pause coloured" test "$pause_pressed" != "$grey_pause"
check "after Play: Stop coloured" test "$stop_pressed" != "$grey_stop"

# The end of the media brings Play back and greys Pause and Stop; it comes
# when the tone has played in real time, not at once.
ended=""
while [ "$(ms_since "$start")" -lt $((seconds * 1000 + 8000)) ]; do
  screenshot "$shot"
  read -r p a s < <(faces "$shot")
  if [ "$p" = "$play" ] && [ "$a" = "$grey_pause" ] && [ "$s" = "$grey_stop" ]; then ended=yes; break; fi
  sleep 0.05
done
elapsed=$(ms_since "$start")
check "at the end: Play coloured, Pause and Stop greyed" test -n "$ended"
# Playing began at most a screenshot's time before Play was seen coloured.
check "the end came after the tone played (${elapsed} ms)" test "$elapsed" -ge $((seconds * 1000 - 600))

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

# A later click, with Play greyed by a press, restarts the file: Play
# coloured again. Then closing the window while it plays ends the program
# quietly.
xdotool mousemove $((CX + 145 + 14)) $((CY + 13)) click 1 mousemove $((CX + 100)) $((CY + 10))
sleep 0.3
screenshot "$shot"
read -r p a s < <(faces "$shot")
check "Play pressed once more: Play greyed" test "$p" = "$grey_play"
xdotool mousemove $((CX + 50)) $((CY + 57)) click 1
clicked=$(date +%s%N)
while :; do
  screenshot "$shot"
  read -r p a s < <(faces "$shot")
  [ "$p" != "$grey_play" ] || [ "$(ms_since "$clicked")" -gt 12000 ] && break
  sleep 0.05
done
echo "# a later click: Play coloured $(ms_since "$clicked") ms after it"
check "a later click plays again" test "$p" != "$grey_play"
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
