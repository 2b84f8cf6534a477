#!/usr/bin/env bash
# The built program driven as a user drives it: under a virtual X server
# with a window manager (openbox), its windows found by their titles and
# worked with keys and the mouse through xdotool. Each walk starts the
# program with settings of its own and checks how it ends.
#   program-end-to-end.sh <kaviro> <kaviro-render> <demo.kvf> <first sample lesson> <picture check>
# Exits 77 (skipped) when a tool it needs is not installed. The whole run
# takes a few seconds; every wait polls, with a limit.
set -u

if [[ $# -ne 5 ]]; then
    echo "usage: $0 <kaviro> <kaviro-render> <demo.kvf> <first sample lesson> <picture check>" >&2
    exit 2
fi

if [[ -z "${KAVIRO_E2E_DISPLAY:-}" ]]; then
    for tool in xvfb-run openbox xdotool xwininfo xprop; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"
            exit 77
        fi
    done
    # One virtual server for all the walks; timeout ends a hung run inside
    # it, so that xvfb-run takes the server down.
    export KAVIRO_E2E_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" timeout 100 "$0" "$@"
fi

kaviro=$1
render=$2
demo=$3
lesson=$4
picture_check=$5
work=$(mktemp -d)
export QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER
program=""
failures=0

cleanup() {
    [[ -n "$program" ]] && kill "$program" 2>/dev/null
    [[ -n "${wm:-}" ]] && kill "$wm" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Runs the command until it succeeds, for at most $1 seconds.
poll() {
    local deadline=$(( $(now_ms) + $1 * 1000 ))
    shift
    until "$@"; do
        (( $(now_ms) > deadline )) && return 1
        sleep 0.05
    done
}

# The visible window whose title matches the pattern.
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [[ -n "$(window_named "$1")" ]]; }

# Waits for the window and prints its id.
wait_window() {
    if ! poll "${2:-10}" has_window "$1"; then
        echo "no window \"$1\"" >&2
        return 1
    fi
    window_named "$1"
}

visible_windows() {
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        echo "  [$(xdotool getwindowname "$id")]"
    done
}

fail() {
    echo "FAIL ($walk): $*"
    echo "windows:"
    visible_windows
    [[ -s "$work/$walk.log" ]] && sed 's/^/  program: /' "$work/$walk.log"
    failures=$((failures + 1))
    [[ -n "$program" ]] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
    program=""
    return 1
}

# Starts the program with settings of its own.
launch() {
    export XDG_CONFIG_HOME="$work/$walk/config" XDG_RUNTIME_DIR="$work/$walk/runtime"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    "$kaviro" "$@" >"$work/$walk.log" 2>&1 &
    program=$!
}

# Finds both windows: the graph window's title starts with the program's name.
# The About window that stands on the screen while the program starts goes
# by itself; the walks begin once it has.
find_windows() {
    graph=$(wait_window "${1:-^KAVIRO}") || return 1
    panel=$(wait_window '^Painel de Dados$') || return 1
    poll 5 bash -c "! xdotool search --onlyvisible --name '^Versão\$' >/dev/null 2>&1" ||
        { echo "the start-up's About window stayed" >&2; return 1; }
}

start() {
    launch "$@"
    find_windows
}

# The program's popup menus, open now.
# (The About window is none, were it still standing from the start.)
popups() {
    local id found=1
    for id in $(xdotool search --onlyvisible --classname '^kaviro$' 2>/dev/null | grep -vx -e "$graph" -e "$panel"); do
        [[ "$(xdotool getwindowname "$id" 2>/dev/null)" == "Versão" ]] && continue
        echo "$id"
        found=0
    done
    return $found
}

# Opens the data panel's file menu.
file_menu() {
    keys_to "$panel" alt+a
    poll 3 popups >/dev/null
}

# Keys to the window, made the active window first (within a few seconds:
# a window that another one took the focus from again would wait forever).
keys_to() {
    local id=$1
    shift
    timeout 5 xdotool windowactivate --sync "$id" >/dev/null 2>&1 || timeout 5 xdotool windowfocus --sync "$id"
    xdotool key --clearmodifiers "$@"
}

# Types the text into the chooser's file name field and presses Return.
# The chooser is made the active window first: under load it may show
# before it takes the focus, and the keys would go to the window below.
# The window manager may call it active a moment before the keyboard's
# focus is there, and a loaded machine may lose keys: the name is typed
# again over what the field holds until the chooser closes.
type_into_chooser() {
    local chooser attempt
    chooser=$(wait_window "^$1\$") || return 1
    xdotool windowactivate --sync "$chooser" >/dev/null 2>&1
    poll 3 bash -c "[[ \$(xdotool getactivewindow 2>/dev/null) == $chooser ]]" || return 1
    poll 3 bash -c "[[ \$(xdotool getwindowfocus 2>/dev/null) == $chooser ]]"
    for attempt in 1 2 3; do
        (( attempt > 1 )) && xdotool key ctrl+a
        xdotool type --delay 2 "$2"
        xdotool key Return
        poll 3 bash -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" && return 0
    done
    return 1
}

# A message box with that title is answered with a key (Return: OK).
answer_box() {
    local box
    box=$(wait_window "^$1\$" 5) || return 1
    keys_to "$box" "$2"
    poll 5 bash -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1"
}

# The program ends with status 0 within 5 seconds.
expect_exit() {
    if ! poll 5 bash -c "! kill -0 $program 2>/dev/null"; then
        fail "still running 5 s after $1"
        return 1
    fi
    wait "$program"
    local status=$?
    program=""
    [[ $status -eq 0 ]] || { fail "ended with status $status after $1"; return 1; }
    [[ -s "$XDG_CONFIG_HOME/KAVIRO/kaviro.ini" ]] || { fail "no settings written"; return 1; }
}

# The window's client area on the screen: x y width height.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
                            /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}

# The window's frame, title bar included, lies on the work area.
on_work_area() {
    local id=$1 x y w h left right top bottom
    read -r x y w h < <(geometry "$id")
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    local area
    read -r -a area < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
    local ax=${area[0]} ay=${area[1]} aw=${area[2]} ah=${area[3]}
    if (( x - left < ax || y - top < ay || x + w + right > ax + aw || y + h + bottom > ay + ah )); then
        echo "frame $((x - left)),$((y - top)) $((w + left + right))x$((h + top + bottom)) outside $ax,$ay ${aw}x$ah" >&2
        return 1
    fi
}

windows_on_work_area() {
    # The window manager frames the windows soon after they show.
    local id what
    for id in "$graph" "$panel"; do
        poll 3 on_work_area "$id" 2>/dev/null && continue
        what=$([[ $id == "$graph" ]] && echo "the graph window" || echo "the data panel")
        fail "$what is not on the screen's work area: $(on_work_area "$id" 2>&1)"
        return 1
    done
}

# An edit that can be undone: "Obter Ponto" from the graph's menu places a
# point, and its property dialog is closed with OK.
place_point() {
    local x y w h
    read -r x y w h < <(geometry "$graph")
    keys_to "$graph" Escape
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 3
    # Zoom, Construir Traço, Limpar Traços, Obter Ponto: its letters open
    # beside the menu, in a grid of buttons, as the narrowest popup.
    poll 3 popups >/dev/null || { fail "no graph menu"; return 1; }
    xdotool key Down Down Down Down Right
    local letters=""
    find_letters() {
        letters=""
        local id width narrowest=100000
        for id in $(popups); do
            read -r _ _ width _ < <(geometry "$id")
            (( width < narrowest )) && narrowest=$width && letters=$id
        done
        (( narrowest < 150 ))
    }
    poll 3 find_letters || { fail "no letters of \"Obter Ponto\""; return 1; }
    read -r x y w h < <(geometry "$letters")
    xdotool mousemove --sync $((x + 16)) $((y + 12)) click 1
    answer_box 'Figura . Propriedades' Return || { fail "no object dialog"; return 1; }
}

# The formulas of a project file's functions, one a line.
formulas() {
    iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' |
        awk '$0 == "y = f(x)" {n = -1; next} n == -1 {n = $1 * 2; next} n > 0 {if (n % 2 == 0) print; n--}'
}

walk_close_graph_window() {
    walk=close-graph-window
    start || { fail "no windows"; return; }
    windows_on_work_area || return
    keys_to "$graph" alt+F4
    expect_exit "the graph window was closed"
}

walk_close_data_panel() {
    walk=close-data-panel
    start || { fail "no windows"; return; }
    keys_to "$panel" alt+F4
    expect_exit "the data panel was closed"
}

walk_quit_from_menu() {
    walk=sair
    start || { fail "no windows"; return; }
    # "&Sair" is the file menu's last item.
    file_menu || { fail "no file menu"; return; }
    xdotool key Up Return
    expect_exit "\"Sair\""
}

walk_edit_then_quit() {
    walk=edit-then-quit
    cp "$demo" "$work/demo.kvf"
    start "$work/demo.kvf" || { fail "no windows"; return; }
    place_point || return
    # A picture named as a project is refused, and the edit stays.
    keys_to "$graph" ctrl+o
    type_into_chooser 'Abrir Arquivo' "$work/figura.kvf" || { fail "Ctrl+O opened no chooser"; return; }
    answer_box ERRO Return || { fail "no refusal of the picture"; return; }
    has_window '^KAVIRO : demo$' || { fail "the document lost its name"; return; }
    # Closing asks first; Cancel keeps the program, OK ends it.
    keys_to "$graph" alt+F4
    answer_box AVISO Escape || { fail "closing did not ask"; return; }
    has_window '^KAVIRO : demo$' || { fail "a cancelled close closed"; return; }
    keys_to "$graph" alt+F4
    answer_box AVISO Return || { fail "closing did not ask again"; return; }
    expect_exit "OK to \"Sair com [OK]\""
}

walk_open_save_as_reopen() {
    walk=open-save-as
    mkdir -p "$work/aulas"
    cp "$demo" "$work/aulas/demo.kvf"
    start || { fail "no windows"; return; }
    # Ctrl+O twice: the second opens its chooser too.
    for _ in 1 2; do
        keys_to "$graph" ctrl+o
        type_into_chooser 'Abrir Arquivo' "$work/aulas/demo.kvf" || { fail "Ctrl+O opened no chooser"; return; }
        wait_window '^KAVIRO : demo$' >/dev/null || { fail "demo.kvf did not open"; return; }
    done
    # "Salvar Como" from the file menu, "aula.v2" typed.
    file_menu || { fail "no file menu"; return; }
    xdotool key c Return
    type_into_chooser 'Salvar Como' "$work/aulas/aula.v2" || { fail "no save chooser"; return; }
    wait_window '^KAVIRO : aula.v2$' >/dev/null || { fail "not saved as aula.v2"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing after saving" || return
    [[ -s "$work/aulas/aula.v2.kvf" ]] || { fail "aula.v2.kvf was not written"; return; }
    [[ ! -e "$work/aulas/aula.kvf" ]] || { fail "aula.kvf was written"; return; }
    # The saved project holds the functions of the one opened, draws, and
    # opens again.
    [[ "$(formulas "$work/aulas/aula.v2.kvf")" == "$(formulas "$demo")" ]] ||
        { fail "the saved functions differ: $(formulas "$work/aulas/aula.v2.kvf")"; return; }
    "$render" "$work/aulas/aula.v2.kvf" "$work/saved.png" >/dev/null 2>&1 && [[ -s "$work/saved.png" ]] ||
        { fail "kaviro-render could not draw the saved project"; return; }
    walk=reopen
    launch "$work/aulas/aula.v2.kvf"
    find_windows '^KAVIRO : aula.v2$' || { fail "aula.v2.kvf did not open"; return; }
    windows_on_work_area || return
    has_window '^(ERRO|AVISO)$' && { fail "a message on opening the saved project"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing the reopened project"
}

walk_refused_on_the_command_line() {
    walk=refused-command-line
    launch "$work/figura.kvf"
    answer_box ERRO Return || { fail "no refusal of the picture"; return; }
    find_windows '^KAVIRO$' || { fail "no windows, or not the empty document's"; return; }
    windows_on_work_area || return
    keys_to "$graph" alt+F4
    expect_exit "the graph window was closed"
}

# Clicks at x y until a window of that title shows (a loaded machine may
# still be laying the window out at the first click).
click_until_window() {
    local attempt
    for attempt in 1 2 3 4 5; do
        xdotool mousemove --sync "$1" "$2" click 1
        poll 2 has_window "$3" && return 0
    done
    return 1
}

# The object dialog's "x =" opens the calculator above the dialog: the
# calculator is the active window and the window under the mouse at its
# input line. The first sample lesson has the point V; the places clicked
# are those of its row in the data panel and of the dialog's "x =".
walk_calculator_over_dialog() {
    walk=calculator-over-dialog
    start "$lesson" || { fail "no windows"; return; }
    windows_on_work_area || return
    local x y w h
    read -r x y w h < <(geometry "$panel")
    click_until_window $((x + 152)) $((y + 311)) '^Figura V Propriedades$' ||
        { fail "the row of V opened no dialog"; return; }
    read -r x y w h < <(geometry "$(window_named '^Figura V Propriedades$')")
    click_until_window $((x + 200)) $((y + 165)) '^Calculadora$' ||
        { fail "\"x =\" opened no calculator"; return; }
    local calculator
    calculator=$(window_named '^Calculadora$')
    read -r x y w h < <(geometry "$calculator")
    xdotool mousemove --sync $((x + 200)) $((y + 40))
    # The window under the mouse is the frame the window manager put round
    # the calculator.
    under_mouse_is_calculator() {
        local WINDOW
        eval "$(xdotool getmouselocation --shell)"
        xwininfo -tree -id "$WINDOW" | grep -q "$(printf '0x%x ' "$calculator")"
    }
    poll 3 under_mouse_is_calculator ||
        { fail "the window under the mouse at the calculator's input line is not the calculator"; return; }
    poll 3 bash -c "[[ \$(xdotool getactivewindow) == $calculator ]]" ||
        { fail "the calculator is not the active window"; return; }
    keys_to "$calculator" Escape
    kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null
    program=""
}

# The tool palette's "Fundo / Ferramenta" tab, then a button of its tool
# bar, clicked until the window of that title shows. Places are in the graph
# window's client area: the tab, then the value table's button (the third of
# the tool bar) and the integral's (the fourth).
open_tool_window() {
    local x y w h attempt
    read -r x y w h < <(geometry "$graph")
    for attempt in 1 2 3 4 5; do
        xdotool mousemove --sync $((x + 154)) $((y + 10)) click 1
        xdotool mousemove --sync $((x + $1)) $((y + 34)) click 1
        poll 2 has_window "$2" && return 0
    done
    return 1
}

# "Mostrar Valor da Função" opens the value table; "Mostrar Valor da
# Integral Definida" closes it and opens the integral window.
walk_tool_windows() {
    walk=tool-windows
    start "$demo" || { fail "no windows"; return; }
    open_tool_window 152 '^Valores da Fun' || { fail "the value table's button opened no window"; return; }
    open_tool_window 175 '^Integral Definida$' || { fail "the integral's button opened no window"; return; }
    poll 3 bash -c "! xdotool search --onlyvisible --name '^Valores da Fun' >/dev/null 2>&1" ||
        { fail "the value table stayed open beside the integral window"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing with the integral window open"
}

# "Salvar Imagem" from the file menu with the type it offers (PNG): the file
# decodes at the size of the graph picture, which the project keeps (as
# kaviro-render draws it). Then the About window from the help menu, closed
# by a click.
walk_save_picture_and_about() {
    walk=picture-and-about
    cp "$demo" "$work/demo.kvf"
    mkdir -p "$work/$walk/config/KAVIRO"
    printf '[SOFTWARE]\nKAVIRO\\State\\AreaSizeByFile=true\n' >"$work/$walk/config/KAVIRO/kaviro.ini"
    start "$work/demo.kvf" || { fail "no windows"; return; }
    file_menu || { fail "no file menu"; return; }
    xdotool key m
    type_into_chooser 'Salvar Imagem' "$work/grafico" || { fail "no picture chooser"; return; }
    poll 5 test -s "$work/grafico.png" || { fail "grafico.png was not written"; return; }
    local saved drawn
    saved=$("$picture_check" "$work/grafico.png") || { fail "grafico.png does not decode"; return; }
    "$render" "$work/demo.kvf" "$work/drawn.png" >/dev/null 2>&1 || { fail "kaviro-render could not draw"; return; }
    drawn=$("$picture_check" "$work/drawn.png")
    [[ "$saved" == "$drawn" ]] || { fail "the picture is $saved, the graph $drawn"; return; }
    keys_to "$panel" alt+j
    poll 3 popups >/dev/null || { fail "no help menu"; return; }
    xdotool key v
    local about x y w h
    about=$(wait_window '^Versão$' 5) || { fail "no About window"; return; }
    read -r x y w h < <(geometry "$about")
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
    poll 5 bash -c "! xdotool search --onlyvisible --name '^Versão\$' >/dev/null 2>&1" ||
        { fail "a click did not close the About window"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing after the picture"
}

# The graph window's top-left corner, where a new sticker goes, on the
# screen into a picture.
grab_sticker_corner() {
    local x y w h
    read -r x y w h < <(geometry "$graph")
    "$picture_check" --grab "$x" "$y" 300 200 "$1"
}

# Pixels in which two pictures differ.
pixels_differing() {
    local n rest
    read -r n rest < <("$picture_check" --differ "$1" "$2")
    echo "${n:-0}"
}

# "Editar Anotação" from the data panel's edit menu opens the note editor;
# a sticker with a value field typed and confirmed with OK shows on the
# graph. Undo takes it away and redo brings it back; a step of its
# parameter shows in it. Dragged to the data panel and back onto the graph
# and saved, the project opens again with the sticker where it was left.
walk_note_editor() {
    walk=note-editor
    cp "$demo" "$work/notas.kvf"
    start "$work/notas.kvf" || { fail "no windows"; return; }
    # The corner as drawn once the start's drawing has settled.
    steady() {
        grab_sticker_corner "$work/before.png" && sleep 0.2 && grab_sticker_corner "$work/again.png" &&
            (( $(pixels_differing "$work/before.png" "$work/again.png") == 0 ))
    }
    poll 5 steady || { fail "the graph did not settle, or the screen could not be taken"; return; }
    local editor
    editor=$(open_note_editor) || { fail "\"Editar Anotação\" opened no note editor"; return; }
    keys_to "$editor" ctrl+a
    xdotool type --delay 2 'a = !{a}'
    keys_to "$editor" alt+o
    poll 5 bash -c "! xdotool search --onlyvisible --name '^Anotação\$' >/dev/null 2>&1" ||
        { fail "OK did not close the note editor"; return; }
    shows_sticker() {
        grab_sticker_corner "$work/after.png" && (( $(pixels_differing "$work/before.png" "$work/after.png") > 300 ))
    }
    poll 5 shows_sticker || { fail "no sticker on the graph after OK"; return; }
    keys_to "$panel" ctrl+z
    looks_like() {
        grab_sticker_corner "$work/now.png" && (( $(pixels_differing "$1" "$work/now.png") < 50 ))
    }
    poll 5 looks_like "$work/before.png" || { fail "the sticker stayed after undo"; return; }
    keys_to "$panel" ctrl+y
    poll 5 looks_like "$work/after.png" || { fail "redo did not bring the sticker back"; return; }

    # The sticker's box on the screen, inside its frame.
    local gx gy gw gh n left top width height
    read -r gx gy gw gh < <(geometry "$graph")
    read -r n left top width height < <("$picture_check" --differ "$work/before.png" "$work/after.png")
    local sx=$((gx + left + 3)) sy=$((gy + top + 3)) sw=$((width - 6)) sh=$((height - 6))
    "$picture_check" --grab "$sx" "$sy" "$sw" "$sh" "$work/value.png"
    # Alt+Down puts the keys on the first parameter; Alt+Right steps it.
    keys_to "$graph" alt+Down
    xdotool key alt+Right alt+Right alt+Right
    value_changed() {
        "$picture_check" --grab "$sx" "$sy" "$sw" "$sh" "$work/stepped.png" &&
            (( $(pixels_differing "$work/value.png" "$work/stepped.png") > 10 ))
    }
    poll 5 value_changed || { fail "the sticker did not show a's new value"; return; }

    # Dragged off the graph onto the data panel, which shows it among its
    # notes; the graph is pictured without it. (The graph window active,
    # no caret blinks in the parameter's field.)
    local px py pw ph
    read -r px py pw ph < <(geometry "$panel")
    keys_to "$graph" Escape
    sleep 0.3
    "$picture_check" --grab "$px" "$py" "$pw" "$ph" "$work/panel.png"
    drag_mouse() {
        xdotool mousemove --sync "$1" "$2" mousedown 1
        local i
        for i in 1 2 3 4 5 6 7 8; do
            xdotool mousemove --sync $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8))
            sleep 0.05
        done
        sleep 0.2
        xdotool mouseup 1
        # Out of the way: nothing shows where the mouse rests.
        xdotool mousemove --sync 1270 1010
    }
    drag_mouse $((sx + sw / 2)) $((sy + sh / 2)) $((px + pw / 2)) $((py + ph / 2))
    local on_panel=""
    parked() {
        "$picture_check" --grab "$px" "$py" "$pw" "$ph" "$work/parked.png" || return 1
        read -r n left top width height < <("$picture_check" --differ "$work/panel.png" "$work/parked.png")
        (( n > 100 )) && on_panel="$((px + left + 15)) $((py + top + 8))"
    }
    poll 5 parked || { fail "the sticker dragged off the graph is not on the data panel"; return; }
    grab_sticker_corner "$work/bare.png"

    # Dragged back onto the graph, its centre 120 pixels right of where it
    # was and 90 down.
    local cx=$((sx + sw / 2 + 120)) cy=$((sy + sh / 2 + 90)) dropped=""
    drag_mouse ${on_panel% *} ${on_panel#* } "$cx" "$cy"
    back_on_graph() {
        grab_sticker_corner "$work/back.png" || return 1
        read -r n left top width height < <("$picture_check" --differ "$work/bare.png" "$work/back.png")
        (( n > 300 && width >= sw && gx + left + width / 2 - cx <= 2 && cx - gx - left - width / 2 <= 2 )) &&
            dropped="$left $top $width $height"
    }
    poll 5 back_on_graph ||
        { fail "the sticker did not come back to the graph centred at $cx,$cy: $n pixels changed, box $left,$top ${width}x$height from $gx,$gy (panel $on_panel)"; return; }
    # "&Salvar" is the first of the file menu's two items on "s".
    file_menu || { fail "no file menu"; return; }
    xdotool key s Return
    poll 5 bash -c "iconv -f UTF-16 -t UTF-8 '$work/notas.kvf' | grep -q 'a = !{a}'" ||
        { fail "the note was not saved"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing after saving the note" || return

    walk=note-reopened
    launch "$work/notas.kvf"
    find_windows '^KAVIRO : notas$' || { fail "notas.kvf did not open"; return; }
    in_its_place() {
        grab_sticker_corner "$work/reopened.png" || return 1
        read -r n left top width height < <("$picture_check" --differ "$work/bare.png" "$work/reopened.png")
        [[ "$left $top $width $height" == "$dropped" ]] &&
            (( $(pixels_differing "$work/back.png" "$work/reopened.png") < 10 ))
    }
    poll 5 in_its_place || { fail "the reopened sticker is not where it was left, showing a's value"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing the reopened notes"
}

# The note editor from the edit menu ("&Editar Anotação"), waited for.
open_note_editor() {
    keys_to "$panel" alt+e
    poll 3 popups >/dev/null || return 1
    xdotool key e
    wait_window '^Anotação$' 5
}

# The table sheet: a value typed into its first cell and taken with OK; the
# editor opened again on the sheet, the value copied from the first cell
# and pasted into the second, and computed by the calculator into a third;
# the first two columns made a point sequence by the scatter wizard; then
# saved, the saved table holds 42 three times and the project the sequence.
walk_table_sheet() {
    walk=table-sheet
    start || { fail "no windows"; return; }
    local editor
    editor=$(open_note_editor) || { fail "the edit menu opened no note editor"; return; }
    keys_to "$editor" ctrl+Tab ctrl+Tab
    xdotool type --delay 20 "42"
    xdotool key Return alt+o
    poll 5 bash -c "! xdotool search --onlyvisible --name '^Anotação\$' >/dev/null 2>&1" ||
        { fail "OK did not close the note editor"; return; }
    editor=$(open_note_editor) || { fail "the note editor did not open again"; return; }
    keys_to "$editor" Up ctrl+c Right ctrl+v
    # A double click in the grid opens the calculator on that cell; what it
    # sends is the cell's entry.
    local x y w h calculator
    read -r x y w h < <(geometry "$editor")
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click --repeat 2 --delay 80 1
    calculator=$(wait_window '^Calculadora$' 5) || { fail "a double click in the grid opened no calculator"; return; }
    keys_to "$calculator" ctrl+a
    xdotool type --delay 20 "6*7"
    xdotool key Return
    poll 5 bash -c "! xdotool search --onlyvisible --name '^Calculadora\$' >/dev/null 2>&1" ||
        { fail "the calculator did not send"; return; }
    # The first two columns as a point sequence: the wizard from "Gráfico"
    # on the first cell (x its column, y the next), OK, and OK to the new
    # object's dialog.
    keys_to "$editor" ctrl+Home alt+g
    answer_box 'Scatter gráfico' Return || { fail "\"Gráfico\" opened no scatter wizard"; return; }
    answer_box 'Figura P Propriedades' Return || { fail "no dialog of the new object P"; return; }
    keys_to "$editor" alt+o
    poll 5 bash -c "! xdotool search --onlyvisible --name '^Anotação\$' >/dev/null 2>&1" ||
        { fail "OK did not close the note editor again"; return; }
    file_menu || { fail "no file menu"; return; }
    xdotool key c Return
    type_into_chooser 'Salvar Como' "$work/tabela" || { fail "no save chooser"; return; }
    poll 5 test -s "$work/tabela.kvf" || { fail "tabela.kvf was not written"; return; }
    local rows
    rows=$(iconv -f UTF-16 -t UTF-8 "$work/tabela.kvf" | tr -d '\r' | grep -P '^data\t')
    grep -qP '^data\t42\t42\t' <<<"$rows" && [[ $(grep -oP '\t42(?=\t|$)' <<<"$rows" | wc -l) -eq 3 ]] ||
        { fail "the saved table does not hold 42 in its first two cells and in the calculator's: $rows"; return; }
    iconv -f UTF-16 -t UTF-8 "$work/tabela.kvf" | grep -q 'Cells(k,2)' ||
        { fail "the saved project holds no point sequence over the table"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing after the table"
}

# A copy of the demo whose notes hold one script, "Anima": it steps a (which
# a function reads) and draws, every 40 ms, until stopped.
script_project() {
    {
        printf '\xff\xfe'
        iconv -f UTF-16 -t UTF-8 "$demo" | tr -d '\r' | awk '
            $0 == "PetaMEMO SECTION" { notes = 1 }
            notes == 1 && $0 == "0" {
                n = split("Aula||#//Anima|#While 1|#Inc(a, 0.05)|#Draw|#Wait(40)|#Wend", lines, "|")
                print n
                for (i = 1; i <= n; i++) print lines[i]
                notes = 2
                next
            }
            { print }' | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
    } >"$1"
}

# The key held down a moment, as a user presses it, in the active window.
hold_key() {
    timeout 5 xdotool windowactivate --sync "$1" >/dev/null 2>&1
    xdotool keydown "$2"
    sleep 0.5
    xdotool keyup "$2"
}

# The script's button (in the data panel's notes, below the rows of the
# demo) starts the run: the graph window's caption names the script. F1
# asks whether to stop; OK stops it and the caption comes back. A second
# run is stopped by closing the graph window, which stays; closing it
# again ends the program.
walk_script_stopped_with_f1() {
    walk=script-f1
    script_project "$work/anima.kvf"
    start "$work/anima.kvf" || { fail "no windows"; return; }
    local x y w h
    read -r x y w h < <(geometry "$panel")
    click_until_window $((x + 44)) $((y + 570)) '^Anima : Parar com tecla F1$' ||
        { fail "the script's button started no run"; return; }
    hold_key "$graph" F1
    answer_box AVISO Return || { fail "F1 did not ask to stop the script"; return; }
    wait_window '^KAVIRO : anima$' 5 >/dev/null || { fail "the caption did not come back after the run"; return; }
    sleep 0.3
    has_window '^Anima : Parar' && { fail "the script still runs"; return; }
    # (A move to where the pointer already is would wait for a motion.)
    xdotool mousemove --sync 0 0
    click_until_window $((x + 44)) $((y + 570)) '^Anima : Parar com tecla F1$' ||
        { fail "the script's button started no second run"; return; }
    keys_to "$graph" alt+F4
    wait_window '^KAVIRO : anima$' 5 >/dev/null || { fail "closing the graph window did not stop the run"; return; }
    kill -0 "$program" 2>/dev/null || { fail "closing the graph window during a run ended the program"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing after the runs"
}

# Esc answers a window that closes on its press, which never sees the key
# go up: a chooser cancelled with Esc leaves no Esc behind, so the run that
# follows asks nothing; the stop question answered with Esc lets the run go
# on, asking again only when F1 comes again.
walk_script_answered_with_esc() {
    walk=script-esc
    script_project "$work/anima.kvf"
    start "$work/anima.kvf" || { fail "no windows"; return; }
    keys_to "$graph" ctrl+o
    wait_window '^Abrir Arquivo$' >/dev/null || { fail "Ctrl+O opened no chooser"; return; }
    answer_box 'Abrir Arquivo' Escape || { fail "Esc did not cancel the chooser"; return; }
    local x y w h
    read -r x y w h < <(geometry "$panel")
    click_until_window $((x + 44)) $((y + 570)) '^Anima : Parar com tecla F1$' ||
        { fail "the script's button started no run"; return; }
    sleep 0.5
    has_window '^AVISO$' && { fail "the run asked to stop with no key pressed"; return; }
    hold_key "$graph" F1
    answer_box AVISO Escape || { fail "F1 did not ask to stop the script"; return; }
    sleep 0.5
    has_window '^AVISO$' && { fail "the question came again after Esc answered it"; return; }
    has_window '^Anima : Parar' || { fail "the run did not go on after Esc"; return; }
    hold_key "$graph" F1
    answer_box AVISO Return || { fail "F1 did not ask again"; return; }
    wait_window '^KAVIRO : anima$' 5 >/dev/null || { fail "OK did not stop the run"; return; }
    keys_to "$graph" alt+F4
    expect_exit "closing after the run"
}

# A picture named as a project.
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$work/figura.kvf"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
poll 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window" ||
    { echo "FAIL: openbox did not start"; cat "$work/openbox.log"; exit 1; }
# A loaded machine may hold a key down long enough for the server to repeat
# it, and a repeated Ctrl+O would open a second chooser.
xset r off 2>/dev/null

for walk_function in walk_close_graph_window walk_close_data_panel walk_quit_from_menu walk_edit_then_quit \
    walk_open_save_as_reopen walk_refused_on_the_command_line walk_calculator_over_dialog walk_tool_windows \
    walk_save_picture_and_about walk_note_editor walk_table_sheet walk_script_stopped_with_f1 \
    walk_script_answered_with_esc; do
    started=$(now_ms)
    before=$failures
    "$walk_function"
    (( failures == before )) && echo "passed: $walk_function ($(( $(now_ms) - started )) ms)"
done

if (( failures > 0 )); then
    echo "$failures walk(s) failed"
    exit 1
fi
echo "every walk passed"
