# Sourced by the scripts that look at or click into the application's windows: their titles, sizes
# and the places of the controls in them, kept here once for every script.
#
# The sizes are read from the program's own source (src/lookandfeel/WindowSizes.h), the title from
# the program (--version). The frame and the panel's controls are laid out by code (JUCE's
# DocumentWindow and look-and-feel, ContentComp::resized); their places are written out below, once.

layout_sources="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../src" && pwd)"

# window_size NAME: a constant of WindowSizes.h (mainWidth, helpHeight, ...).
window_size()
{
    local value
    value="$(sed -n "s/^constexpr int $1 = \([0-9][0-9]*\);.*/\1/p" "$layout_sources/lookandfeel/WindowSizes.h")"
    [[ -n "$value" ]] || { echo "tests/lib/layout.sh: no $1 in src/lookandfeel/WindowSizes.h" >&2; return 1; }
    echo "$value"
}

main_width="$(window_size mainWidth)"
main_height="$(window_size mainHeight)"
help_width="$(window_size helpWidth)"
help_height="$(window_size helpHeight)"

# The frame around each window's content: a 4-pixel border and, inside it, the 26-pixel title bar,
# whose close button is centred 20 pixels from the window's right edge and 17 from its top.
frame_border=4
frame_title_bar=26
close_button_from_right=20
close_button_y=17

# The main window's panel starts below the title bar (panel_offset_x, panel_offset_y in the window);
# it is main_width - 8 pixels wide (panel_width).
# Rows and controls in it (ContentComp::resized), as x, y, width, height in the panel:
#   help button     panel_width - 104, 2, 94, 30
#   output selector 10, 125, panel_width - 20, 30
#   status text     10, 185, panel_width - 20, 30 (the progress label's row)
#   progress bar    10, 215, panel_width - 114, 30
#   update button   panel_width - 104, 215, 94, 30
panel_offset_x=$frame_border
panel_offset_y=$((frame_border + frame_title_bar))
panel_width=$((main_width - 2 * frame_border))
help_button=($((panel_width - 104)) 2 94 30)
selector=(10 125 $((panel_width - 20)) 30)
status_row=(10 185 $((panel_width - 20)) 30)
progress_bar=(10 215 $((panel_width - 114)) 30)
update_button=($((panel_width - 104)) 215 94 30)

# centre_of NAME: "x y", the middle of the control NAME (one of the arrays above), in the panel.
centre_of()
{
    local -n box="$1"
    echo "$((box[0] + box[2] / 2)) $((box[1] + box[3] / 2))"
}

# main_window_title PROGRAM: the main window's title with the built-in firmware, "<product> version
# <firmware version>", from what PROGRAM --version says of that firmware
# ("Built-in firmware: <product> <firmware version>"; the version is "1.2.3" or "1.2.3 - R45").
main_window_title()
{
    local title
    title="$("$1" --version 2> /dev/null |
        sed -nE 's/^Built-in firmware: (.*) ([0-9][^ ]*( - R[0-9]+)?)$/\1 version \2/p')"
    [[ -n "$title" ]] || { echo "tests/lib/layout.sh: '$1 --version' names no built-in firmware" >&2; return 1; }
    echo "$title"
}
