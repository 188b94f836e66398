#!/bin/sh
# One frame script run twice by zeb2hart.exe under Wine, with the DTM created
# through COM from the registered DLL and with the DTM in the process: both
# runs must pass (exit status 0) and write the same transcript, but for the
# names of temporary folders. COMPONENT_DIR is the component's folder
# (Resources/DTM.ini, XMLData/, XMLSchemas/), the one beside the built DLL.
#   compare-through-com.sh WINE ZEB2HART_EXE COMPONENT_DIR SCRIPT WORKDIR
set -u
wine=$1 exe=$2 component=$3 script=$4 work=$5
here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$script" .jsonl)
mkdir -p "$work" || exit 2
windows_path() {
  path=$($wine winepath -w "$1" 2> /dev/null | tr -d '\r')
  [ -n "$path" ] || { echo "winepath cannot name $1" >&2; exit 2; }
  printf "%s\n" "$path"
}
windows_script=$(windows_path "$script") || exit 2
windows_component=$(windows_path "$component") || exit 2

run() { # label, arguments before the script
  label=$1
  shift
  $wine "$exe" --component-dir "$windows_component" run "$@" "$windows_script" > "$work/$name.$label.raw" 2> "$work/$name.$label.err"
  echo $? > "$work/$name.$label.status"
  tr -d '\r' < "$work/$name.$label.raw" | sh "$here/../normalise-transcript.sh" > "$work/$name.$label.jsonl"
}
run com
run in-process --in-process

failed=0
for label in com in-process; do
  status=$(cat "$work/$name.$label.status")
  [ "$status" = 0 ] || { echo "$label: exit status $status"; failed=1; }
done
if ! diff -u "$work/$name.in-process.jsonl" "$work/$name.com.jsonl"; then
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "--- stderr through COM:"; cat "$work/$name.com.err"
  echo "--- stderr in process:"; cat "$work/$name.in-process.err"
fi
exit $failed
