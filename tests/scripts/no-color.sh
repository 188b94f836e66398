#!/bin/sh
# The demo colours its monitor lines on a terminal unless NO_COLOR is set and
# not empty; `script` gives it a terminal.
#   no-color.sh ZEB2HART
set -u
zeb2hart=$1
esc=$(printf '\033')
coloured() { # NO_COLOR value, or "unset"
    if [ "$1" = unset ]; then
        script -qec "env -u NO_COLOR '$zeb2hart' demo --delay 1" /dev/null
    else
        script -qec "env NO_COLOR='$1' '$zeb2hart' demo --delay 1" /dev/null
    fi | grep -q "$esc\["
}
status=0
coloured unset || { echo "no colour on a terminal without NO_COLOR"; status=1; }
coloured "" || { echo "no colour with NO_COLOR empty"; status=1; }
if coloured 1; then echo "colour with NO_COLOR=1"; status=1; fi
if "$zeb2hart" demo --delay 1 | grep -q "$esc\["; then echo "colour into a pipe"; status=1; fi
exit $status
