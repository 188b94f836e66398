#!/bin/sh
# Runs each case of a table of scripts that `zeb2hart run` must refuse or fail,
# and checks its exit status and message. A case begins with a line
# "## NAME STATUS MESSAGE" (MESSAGE: an extended regular expression that
# stdout or stderr must match); the lines up to the next case are its script,
# written to WORKDIR/NAME.jsonl. Cases named qt-* run only when QT is "qt".
# Usage: run-bad-scripts.sh ZEB2HART TABLE WORKDIR [QT]
set -u
zeb2hart=$1 table=$2 work=$3 qt=${4:-}
rm -rf "$work" && mkdir -p "$work" || exit 2
awk -v dir="$work" '
  /^## / {
    if (file) close(file)
    file = dir "/" $2 ".jsonl"; printf "" > file
    message = $0; sub(/^## [^ ]+ [^ ]+ /, "", message)
    print $2 " " $3 " " message > (dir "/cases"); next
  }
  file { print > file }
' "$table" || exit 2
count=0 failed=0
while read -r name wanted message; do
  case "$name" in qt-*) [ "$qt" = qt ] || continue ;; esac
  count=$((count + 1))
  "$zeb2hart" run --no-transcript "$work/$name.jsonl" > "$work/$name.out" 2>&1
  status=$?
  if [ "$status" -ne "$wanted" ] || ! grep -Eq -- "$message" "$work/$name.out"; then
    failed=$((failed + 1))
    echo "case $name exited with $status (wanted $wanted and a message matching '$message'):"
    cat "$work/$name.out"
  fi
done < "$work/cases"
echo "$count cases, $failed failed"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
