#!/bin/sh
# Runs every ```jsonl block of the frame-script documentation through
# `zeb2hart run`: each must pass; a block opened with ```jsonl-fails must fail
# with exit status 1 (an expectation that does not hold); a block opened with
# ```jsonl-qt opens the Qt pages and runs (and must pass) only when QT is "qt".
# Usage: run-doc-examples.sh ZEB2HART DOC WORKDIR [QT]
set -u
zeb2hart=$1 doc=$2 work=$3 qt=${4:-}
sh "$(dirname "$0")/extract-doc-examples.sh" "$doc" "$work" || exit 2
count=0 failed=0 skipped=0
for script in "$work"/*.jsonl; do
  [ -e "$script" ] || break
  case "$script" in
    *-qt.jsonl) if [ "$qt" != qt ]; then skipped=$((skipped + 1)); continue; fi ;;
  esac
  count=$((count + 1))
  "$zeb2hart" run --no-transcript "$script" > "$script.out" 2>&1
  status=$?
  case "$script" in
    *-fails.jsonl) wanted=1 ;;
    *) wanted=0 ;;
  esac
  if [ "$status" -ne "$wanted" ]; then
    failed=$((failed + 1))
    echo "example $script exited with $status (wanted $wanted):"
    cat "$script.out"
  fi
done
if [ "$count" -eq 0 ]; then
  echo "no \`\`\`jsonl examples in $doc"
  exit 1
fi
echo "$count examples, $failed failed$( [ "$skipped" -gt 0 ] && echo ", $skipped skipped (they need zeb2hart with Qt)")"
[ "$failed" -eq 0 ]
