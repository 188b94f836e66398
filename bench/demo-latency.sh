#!/usr/bin/env bash
# The latencies `zeb2hart demo --realtime` measures on the real clock, per shipped
# device type and command, against the modelled times `zeb2hart timing` prints
# (the table of docs/simulation.md). Fails when one is off by more than 5 %.
# Usage: bench/demo-latency.sh [BUILD_DIR]
set -euo pipefail
program="${1:-build}/bin/zeb2hart"
[ -x "$program" ] || { echo "demo-latency: $program is not built" >&2; exit 2; }
status=0
for device in VRA510 VRA520 VRA540; do
    # | Device (ms) | 0 | 59 | 1 | 128 | 129 | 131 | and the device's row under it
    modelled=$("$program" timing --device "$device" | awk -F'|' '
        /^\| Device \(ms\)/ { for (i = 3; i < NF; i++) { gsub(/ /, "", $i); command[i] = $i }; table = 1; next }
        table && $2 ~ "'"$device"'" { for (i = 3; i < NF; i++) { gsub(/ /, "", $i); print command[i], $i } }')
    # "   128   1   1   0   548 / 548.0 / 548": command, requests, answers, errors, least / mean / most
    measured=$("$program" demo --realtime --quiet --device "$device" | awk '
        /latency ms/ { rows = 1; next }
        rows && $1 ~ /^[0-9]+$/ && $6 == "/" { print $1, $7; next }
        rows { rows = 0 }')
    while read -r command model; do
        mean=$(awk -v c="$command" '$1 == c { print $2 }' <<< "$measured")
        verdict=$(awk -v m="$model" -v x="${mean:-none}" 'BEGIN {
            if (x == "none") { print "missing"; exit }
            d = x - m; if (d < 0) d = -d
            print (d <= 0.05 * m) ? "ok" : "off" }')
        printf '%-7s command %-4s modelled %5s ms  measured %7s ms  %s\n' "$device" "$command" "$model" "${mean:-none}" "$verdict"
        [ "$verdict" = ok ] || status=1
    done <<< "$modelled"
done
exit $status
