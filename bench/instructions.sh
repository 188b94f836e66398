#!/usr/bin/env bash
# Instructions per transaction, gateway against floor, counted by callgrind
# (repeatable whatever else the machine does). Usage:
#   bench/instructions.sh [BUILD_DIR] [COUNT]
set -euo pipefail
build=${1:-build}
count=${2:-300}
program="$build/bin/zeb2hart_long_run"
[ -x "$program" ] || { echo "instructions: $program is not built" >&2; exit 2; }
command -v valgrind > /dev/null || { echo "instructions: valgrind is not installed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The instructions of the dump taken after the measured transactions.
measure() {
    local kind=$1
    valgrind --tool=callgrind --callgrind-out-file="$work/$kind.%p" \
        "$program" --only "$kind" "$count" > /dev/null 2> "$work/$kind.log" || {
        cat "$work/$kind.log" >&2
        exit 1
    }
    local dump
    dump=$(grep -l '^desc: Trigger: Client Request: measured' "$work/$kind".* | head -n 1)
    awk '/^summary:/ { print $2 }' "$dump"
}

printf '%-12s %14s %14s %8s\n' transaction gateway floor ratio
for transaction in command128 command0; do
    gateway=$(measure "$transaction")
    floor=$(measure "$transaction-floor")
    awk -v t="$transaction" -v g="$gateway" -v f="$floor" -v n="$count" \
        'BEGIN { printf "%-12s %14.0f %14.0f %8.2f\n", t, g / n, f / n, g / f }'
done
