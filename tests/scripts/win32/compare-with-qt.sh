#!/bin/sh
# One frame script with the real pages run twice: by zeb2hart.exe under Wine on
# the DLL's Win32 pages, hosted through OLE with the DTM created through COM,
# and by the Linux zeb2hart on the Qt pages in its process. Both runs must pass
# and write the same transcript, but for what names the system: the component
# and frame schema folders and the temporary folder (each written as one word).
# Given a document (*.md) instead of a script, it compares each of the
# document's examples that open the real pages (its ```jsonl-qt blocks).
#   compare-with-qt.sh WINE ZEB2HART_EXE COMPONENT_DIR LINUX_ZEB2HART SCRIPT|DOC WORKDIR
set -u
wine=$1 exe=$2 component=$3 linux=$4 script=$5 work=$6
here=$(cd "$(dirname "$0")" && pwd)
case "$script" in
  *.md)
    examples="$work/$(basename "$script" .md)"
    sh "$here/../extract-doc-examples.sh" "$script" "$examples" || exit 2
    count=0 failed=0
    for example in "$examples"/*-qt.jsonl; do
      [ -e "$example" ] || break
      count=$((count + 1))
      sh "$0" "$wine" "$exe" "$component" "$linux" "$example" "$examples" || failed=$((failed + 1))
    done
    echo "$count examples, $failed with another transcript or a failure"
    [ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
    exit ;;
esac
name=$(basename "$script" .jsonl)
mkdir -p "$work" || exit 2
windows_path() {
  path=$($wine winepath -w "$1" 2> /dev/null | tr -d '\r')
  [ -n "$path" ] || { echo "winepath cannot name $1" >&2; exit 2; }
  printf "%s\n" "$path"
}
windows_script=$(windows_path "$script") || exit 2
windows_component=$(windows_path "$component") || exit 2

# The system's names: "componentFolder" and the frame's schema folder as
# values, the temporary folder (C:\users\NAME\Temp\ or /tmp/) as a prefix.
neutral() {
  tr -d '\r' | sh "$here/../normalise-transcript.sh" | sed -E \
    -e 's/"componentFolder":"[^"]*"/"componentFolder":"COMPONENT"/g' \
    -e 's/"result":"[^"]*FrameSchemas"/"result":"FRAMESCHEMAS"/g' \
    -e 's#C:\\\\users\\\\[^\\]*\\\\Temp\\\\#TEMP/#g' -e 's#/tmp/#TEMP/#g'
}

$wine "$exe" --component-dir "$windows_component" run "$windows_script" > "$work/$name.win32.raw" 2> "$work/$name.win32.err"
win32=$?
"$linux" run "$script" > "$work/$name.qt.raw" 2> "$work/$name.qt.err"
qt=$?
neutral < "$work/$name.win32.raw" > "$work/$name.win32.jsonl"
neutral < "$work/$name.qt.raw" > "$work/$name.qt.jsonl"
failed=0
[ "$win32" = 0 ] || { echo "win32: exit status $win32"; cat "$work/$name.win32.err"; failed=1; }
[ "$qt" = 0 ] || { echo "qt: exit status $qt"; cat "$work/$name.qt.err"; failed=1; }
diff -u "$work/$name.qt.jsonl" "$work/$name.win32.jsonl" || failed=1
exit $failed
