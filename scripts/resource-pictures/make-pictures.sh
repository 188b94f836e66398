#!/usr/bin/env bash
# Builds the picture generator with the Qt the project already needs and draws
# the component's pictures into the given folder (normally data/Resources).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../../data/Resources}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC -Wall -Wextra -Werror "$here/make-pictures.cpp" -o "$work/make-pictures" \
    $(pkg-config --cflags --libs Qt6Gui)
"$work/make-pictures" "$out"
