#!/usr/bin/env bash
# The real program under X with a window manager: the player window's place,
# size and look at start, expand and collapse, and its ends by the close box
# and by SIGTERM.
PROGRAM=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
start_display
start_program

client_geometry "$WID"
frame_extents "$WID"
check "client area 232 x 50" test "$CW x $CH" = "232 x 50"
check "outer frame at (458, 244)" test "$((CX - FL)),$((CY - FT))" = "458,244"
check "title refreshed from the file-name line" wait_title 'Пісня: \*\.\.\. Лунограй'

shot=$E2E_TMP/start.png
screenshot "$shot"
check "yellow background" test "$(pixel "$shot" $((CX + 100)) $((CY + 10)))" = FFFF00
check "bottom row yellow: no file list in view" test "$(pixel "$shot" $((CX + 100)) $((CY + 49)))" = FFFF00
check "animation on its dark square at (5, 6)" test "$(pixel "$shot" $((CX + 5)) $((CY + 6)))" != FFFF00
check "nothing of the animation left of it" test "$(pixel "$shot" $((CX + 4)) $((CY + 6)))" = FFFF00
bar=$(pixel "$shot" $((CX + 147)) $((CY + 18)))
check "button bar faces at (145, 3)" test "$bar" != FFFF00
check "yellow left of the bar" test "$(pixel "$shot" $((CX + 143)) $((CY + 10)))" = FFFF00
for x in 3 34 150; do
  check "a button face in the second row at x=$x" test "$(pixel "$shot" $((CX + x)) $((CY + 28)))" != FFFF00
done
check "yellow between the open and the Author button" test "$(pixel "$shot" $((CX + 100)) $((CY + 36)))" = FFFF00
[ -n "${E2E_SCREENSHOT:-}" ] && convert "$shot" -crop "$((CW + FL + FR))x$((CH + FT + FB))+$((CX - FL))+$((CY - FT))" "$E2E_SCREENSHOT"

# Expand: outer height 120 and the file list in view; collapse: 74.
xdotool mousemove $((CX + 12)) $((CY + 37)) click 1
sleep 0.5
client_geometry "$WID"
check "expanded outer height 120" test $((CH + FT + FB)) = 120
screenshot "$shot"
check "the file list in view, silver" test "$(pixel "$shot" $((CX + 100)) $((CY + 70)))" = C0C0C0
xdotool mousemove $((CX + 12)) $((CY + 37)) click 1
sleep 0.5
client_geometry "$WID"
check "collapsed outer height 74" test $((CH + FT + FB)) = 74
check "top-left kept" test "$((CX - FL)),$((CY - FT))" = "458,244"

# The close box ends the program with exit code 0.
xdotool windowactivate --sync "$WID" key --clearmodifiers alt+F4
wait_program_end
check "closing ends with exit code 0" test "$EXIT_CODE" = 0

# SIGTERM ends it the same orderly way, without any box.
start_program
kill -TERM "$APP_PID"
wait_program_end
check "SIGTERM ends with exit code 0" test "$EXIT_CODE" = 0
check "no message on SIGTERM" test ! -s "$E2E_TMP/program.log" -o -z "$(grep -v QStandardPaths "$E2E_TMP/program.log" || true)"
check "nothing written into the program's home folder" test -z "$(find "$E2E_TMP/home" -mindepth 1 | head -n 3)"
echo "all passed"
