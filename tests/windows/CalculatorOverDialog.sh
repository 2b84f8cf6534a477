#!/usr/bin/env bash
# The real program under an X server with a window manager, as a user drives
# it: the row of the point V opens the object dialog, a click on its "x ="
# opens the calculator, and the calculator must be the active window and the
# window under the mouse at its input line (not hidden under the dialog).
#   xvfb-run -a -s "-screen 0 1280x1024x24" CalculatorOverDialog.sh <kaviro> <lesson with the point V>
# The lesson is the first sample lesson: two functions, the point V, three
# parameters; the places clicked are those of its rows on a 1280 x 1024
# screen.
set -u
kaviro=$1
lesson=$2

# The X server's windows, whatever platform the tests around choose.
export QT_QPA_PLATFORM=xcb
scratch=$(mktemp -d)
export XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "calculator over dialog: $*" >&2
    exit 1
}

# The window's client area: "x y" of its top-left corner on the screen.
corner() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'
}

# The first window whose name matches, waiting up to 30 seconds (a loaded
# machine starts the program slowly).
window() {
    local found
    found=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1)
    [[ -n $found ]] || fail "no window \"$1\""
    echo "$found"
}

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$kaviro" "$lesson" >"$scratch/kaviro.log" 2>&1 &
pids+=($!)

# The graph window takes the lesson's name once the lesson is open.
window "$(basename "$lesson" .kvf)" >/dev/null
panel=$(window "Painel de Dados")
sleep 2
read -r px py < <(corner "$panel")
# The row of V in the panel "Objeto Elementar".
xdotool mousemove $((px + 152)) $((py + 311)) click 1
dialog=$(window "Figura V Propriedades")
sleep 1
read -r dx dy < <(corner "$dialog")
# The picture of "x =".
xdotool mousemove $((dx + 200)) $((dy + 165)) click 1
calculator=$(window "Calculadora")
sleep 1
read -r cx cy < <(corner "$calculator")
# The input line, under the caption "x =".
xdotool mousemove $((cx + 200)) $((cy + 40))
sleep 0.5
eval "$(xdotool getmouselocation --shell)"
# The mouse is over the window manager's frame of the window it is on.
xwininfo -tree -id "$WINDOW" | grep -q "$(printf '0x%x ' "$calculator")" ||
    fail "the window under the mouse at the calculator's input line is not the calculator"
[[ $(xdotool getactivewindow) == "$calculator" ]] || fail "the calculator is not the active window"
echo "calculator over dialog: the calculator is on top and active"
