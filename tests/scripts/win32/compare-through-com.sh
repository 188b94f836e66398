#!/bin/sh
# One frame script run three times by zeb2hart.exe under Wine: with the DTM
# created through COM from the registered DLL in the frame's single-threaded
# apartment, the same from the multithreaded apartment (COM then puts the DTM in
# an apartment of its own, and every call crosses through proxies built from
# the registered type library), and with the DTM in the process. Every run must
# pass (exit status 0) and write the same transcript, but for the names of
# temporary folders. COMPONENT_DIR is the component's folder
# (Resources/DTM.ini, XMLData/, XMLSchemas/), the one beside the built DLL.
# APARTMENTS is "sta mta" (the default) or "sta" for the frame's apartment only.
#   compare-through-com.sh WINE ZEB2HART_EXE COMPONENT_DIR SCRIPT WORKDIR [APARTMENTS]
set -u
wine=$1 exe=$2 component=$3 script=$4 work=$5 apartments=${6:-sta mta}
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
limit=""

run() { # label, arguments before the script
  label=$1
  shift
  $limit $wine "$exe" --component-dir "$windows_component" run "$@" "$windows_script" > "$work/$name.$label.raw" 2> "$work/$name.$label.err"
  echo $? > "$work/$name.$label.status"
  tr -d '\r' < "$work/$name.$label.raw" | sh "$here/../normalise-transcript.sh" > "$work/$name.$label.jsonl"
}

# The run from the other apartment has once, in many runs, not ended after
# writing its whole transcript (Wine, under load; not seen again). Such a run
# is ended after a minute and run once more; the log says so, and a second
# hang fails the test.
run_across() {
  limit="timeout 60"
  for try in 1 2; do
    run com-mta --apartment mta
    [ "$(cat "$work/$name.com-mta.status")" = 124 ] && echo "com-mta: did not end within 60 s (try $try)" || break
  done
  limit=""
}

labels="com in-process"
if [ "$apartments" = "sta mta" ]; then
  labels="com com-mta in-process"
  run_across
fi
run com
run in-process --in-process

failed=0
for label in $labels; do
  status=$(cat "$work/$name.$label.status")
  [ "$status" = 0 ] || { echo "$label: exit status $status"; failed=1; }
done
for label in $labels; do
  [ "$label" = in-process ] || diff -u "$work/$name.in-process.jsonl" "$work/$name.$label.jsonl" || failed=1
done
if [ "$failed" -ne 0 ]; then
  for label in $labels; do
    echo "--- stderr ($label):"; cat "$work/$name.$label.err"
  done
fi
exit $failed
