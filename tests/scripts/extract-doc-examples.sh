#!/bin/sh
# Writes each ```jsonl block of a document to its own file in WORKDIR, numbered
# in order and named by kind: N-passes.jsonl, N-fails.jsonl (a block opened with
# ```jsonl-fails) or N-qt.jsonl (```jsonl-qt, a block that opens the real pages).
# Usage: extract-doc-examples.sh DOC WORKDIR
set -u
doc=$1 work=$2
rm -rf "$work" && mkdir -p "$work" || exit 2
awk -v dir="$work" '
  /^```jsonl(-fails|-qt)?$/ {
    n++; kind = ($0 ~ /fails/) ? "fails" : (($0 ~ /qt/) ? "qt" : "passes")
    file = dir "/" n "-" kind ".jsonl"; inside = 1; printf "" > file; next
  }
  inside && /^```$/ { inside = 0; close(file); next }
  inside { print > file }
' "$doc"
