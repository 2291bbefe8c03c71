#!/usr/bin/env bash
# The real program's commands under X: the command menu on a right click, the
# info window (centred, its picture and texts, its close button turning
# "Автор" into "Вихід"), Ctrl+Z hiding the animation and Ctrl+X ending.
PROGRAM=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
start_display
start_program
client_geometry "$WID"
PX=$CX PY=$CY

# Pixels of a colour-ish in a rectangle of a screenshot (R, G, B ranges).
count_colour() { # count_colour <png> <w>x<h>+<x>+<y> <fx-expression>
  convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:mean*w*h]' info: | cut -d. -f1
}

# A right click opens the command menu with its corner at the pointer.
shot=$E2E_TMP/shot.png
xdotool mousemove $((PX + 100)) $((PY + 10)) click 3
sleep 0.6
screenshot "$shot"
check "menu below and right of the pointer" test "$(pixel "$shot" $((PX + 110)) $((PY + 20)))" != FFFF00
xdotool key Escape
sleep 0.3

# Ctrl+A shows the info window, centred on the screen.
xdotool windowactivate --sync "$WID" key ctrl+a
IWID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Інфо$' | head -n1) || fail "no info window"
sleep 0.5
client_geometry "$IWID"
frame_extents "$IWID"
check "info client 239 x 142" test "$CW x $CH" = "239 x 142"
W=$((CW + FL + FR)) H=$((CH + FT + FB))
check "info window centred" test "$((CX - FL)),$((CY - FT))" = "$(((1024 - W) / 2)),$(((768 - H) / 2))"
screenshot "$shot"
check "silver panel" test "$(pixel "$shot" $((CX + 120)) $((CY + 20)))" = C0C0C0
check "the picture's white field in its panel" test "$(pixel "$shot" $((CX + 6 + 8 + 8 + 3)) $((CY + 4 + 6 + 6 + 3)))" = FFFFFF
purple=$(count_colour "$shot" "88x22+$((CX + 134))+$((CY + 44))" 'r>0.3&&r<0.7&&g<0.2&&b>0.3&&b<0.7')
check "purple name Лунограй drawn ($purple pixels)" test "$purple" -gt 20

# The close button hides it and puts "Вихід" in maroon in place of "Автор".
xdotool mousemove $((CX + 6 + 120 + 48)) $((CY + 4 + 104 + 11)) click 1
sleep 0.6
check "info window hidden" test -z "$(xdotool search --onlyvisible --name '^Інфо$' || true)"
screenshot "$shot"
maroon=$(count_colour "$shot" "85x22+$((PX + 145))+$((PY + 26))" 'r>0.35&&r<0.65&&g<0.15&&b<0.15')
check "Exit button in maroon ($maroon pixels)" test "$maroon" -gt 20

# Ctrl+Z stops and hides the animation: the window's yellow shows there.
xdotool windowactivate --sync "$WID" key ctrl+z
sleep 0.4
screenshot "$shot"
check "yellow where the animation was" test "$(pixel "$shot" $((PX + 12)) $((PY + 13)))" = FFFF00

# Ctrl+X ends the program with exit code 0.
xdotool windowactivate --sync "$WID" key ctrl+x
wait_program_end
check "Ctrl+X ends with exit code 0" test "$EXIT_CODE" = 0
echo "all passed"
