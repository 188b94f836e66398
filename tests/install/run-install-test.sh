#!/bin/sh
# Installs the build tree into a scratch root (DESTDIR) and builds the host
# program of host/ against it twice, as a frame vendor would: with CMake's
# find_package(zeb2hart) and with pkg-config. Each must run and find the
# installed component folder. Also checks the installed layout (DTM.ini in
# SYSCONFDIR, linked from Resources/) and that the library exports nothing but
# the zeb2hart namespace.
#   run-install-test.sh BUILD_DIR WORK_DIR
set -eu
build=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "install test: $*" >&2; exit 1; }

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
rm -rf "$work"
mkdir -p "$work"
DESTDIR="$work/root" cmake --install "$build" > "$work/install.log"
root="$work/root"

library=$(find "$root$prefix" -name 'libzeb2hart.so.*.*.*' -type f)
[ -n "$library" ] || fail "no libzeb2hart.so.X.Y.Z installed"
component=$(dirname "$library")
echo "component folder: ${component#"$root"}"
[ -L "$component/Resources/DTM.ini" ] || fail "Resources/DTM.ini is not a link"
config=$(cd "$component/Resources" && readlink -f DTM.ini)
case $config in
    "$root"/*/zeb2hart/DTM.ini) echo "DTM.ini: ${config#"$root"}" ;;
    *) fail "Resources/DTM.ini leads to $config, not to the installed configuration file" ;;
esac
cmp -s "$config" "$here/../../data/Resources/DTM.ini" || fail "the installed DTM.ini differs from the shipped one"

# Only the public interface is exported.
exported=$(nm -DC --defined-only "$library" | awk '{ $1 = ""; $2 = ""; sub(/^  /, ""); print }')
foreign=$(printf '%s\n' "$exported" | grep -v -e '^zeb2hart::' -e '^\(vtable\|VTT\|typeinfo\|typeinfo name\|construction vtable\) for .*zeb2hart::' || true)
[ -z "$foreign" ] || fail "exported beyond the zeb2hart namespace:
$(printf '%s\n' "$foreign" | head -20)"
echo "exported symbols: $(printf '%s\n' "$exported" | wc -l)"

check_run() {
    output=$("$@") || fail "$1 failed: $output"
    printf '%s\n' "$output" | grep -qx "component folder: $(readlink -f "$component")" ||
        fail "$1 did not find the installed component folder: $output"
    printf '%s\n' "$output" | grep -q '^information: .*an FDT document$' || fail "$1: no information document: $output"
    printf '%s\n' "$output" | grep -qx 'connections counted: 0' || fail "$1: no gateway counters: $output"
    printf '%s\n' "$output" | grep -qx 'done' || fail "$1 did not finish: $output"
}

cmake -S "$here/host" -B "$work/cmake-host" -G Ninja -DCMAKE_PREFIX_PATH="$root$prefix" > "$work/cmake-host.log" ||
    fail "configuring the host with find_package(zeb2hart) failed (see $work/cmake-host.log)"
cmake --build "$work/cmake-host" > "$work/cmake-host-build.log" || fail "building the host with CMake failed"
schemas=$(find "$root$prefix" -type d -name FrameSchemas)
check_run "$work/cmake-host/host" "$schemas"
echo "find_package(zeb2hart): the host runs"

pc=$(find "$root$prefix" -name zeb2hart.pc)
[ -n "$pc" ] || fail "no zeb2hart.pc installed"
export PKG_CONFIG_PATH="$(dirname "$pc")"
# shellcheck disable=SC2046
c++ -std=c++20 -o "$work/pkg-config-host" "$here/host/main.cpp" $(pkg-config --cflags --libs zeb2hart) \
    -Wl,-rpath,"$(pkg-config --variable=libdir zeb2hart)" || fail "building the host with pkg-config failed"
check_run "$work/pkg-config-host" "$schemas"
echo "pkg-config zeb2hart: the host runs"
