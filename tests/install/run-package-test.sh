#!/bin/sh
# Makes the Debian packages with CPack and checks them as an administrator
# would: the three packages and their debug-symbol packages are there, the
# binaries are stripped, DTM.ini is a configuration file, every package carries
# the licence, and the component and the frame stand-in unpacked into a scratch
# root run the demo and a frame script from there.
#   run-package-test.sh BUILD_DIR WORK_DIR
set -eu
build=$1
work=$2
fail() { echo "package test: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/root"
(cd "$build" && cpack -G DEB -B "$work/packages" > "$work/cpack.log" 2>&1) || fail "cpack failed (see $work/cpack.log)"
packages="$work/packages"

for name in libzeb2hart1 libzeb2hart-dev zeb2hart; do
    deb=$(ls "$packages"/${name}_*.deb 2>/dev/null | head -1)
    [ -n "$deb" ] || fail "no package $name"
    case $name in *-dev) ;; *)
        ls "$packages"/${name}-dbgsym_*.ddeb > /dev/null 2>&1 || fail "no debug-symbol package for $name" ;;
    esac
    dpkg-deb --contents "$deb" | grep "usr/share/doc/$name/copyright$" > /dev/null || fail "$name carries no copyright file"
    dpkg-deb -x "$deb" "$work/root"
    echo "$(basename "$deb"): $(dpkg-deb --field "$deb" Depends)"
done

component=$(ls "$packages"/libzeb2hart1_*.deb)
dpkg-deb --ctrl-tarfile "$component" | tar -xO ./conffiles 2>/dev/null | grep -x '/etc/zeb2hart/DTM.ini' > /dev/null ||
    fail "libzeb2hart1 does not declare /etc/zeb2hart/DTM.ini a configuration file"
# dpkg itself, in a root of its own (it needs the administrator's rights):
# installing again keeps the administrator's change to DTM.ini.
if [ "$(id -u)" -eq 0 ]; then
    admin="$work/dpkg-root"
    mkdir -p "$admin/var/lib/dpkg/info" "$admin/var/lib/dpkg/updates" "$admin/var/lib/dpkg/triggers"
    touch "$admin/var/lib/dpkg/status" "$admin/var/lib/dpkg/available"
    install_component() {
        dpkg --root="$admin" --log=/dev/null --force-depends --force-script-chrootless -i "$component" \
            > "$work/dpkg.log" 2>&1 || fail "dpkg -i $component failed (see $work/dpkg.log)"
    }
    install_component
    echo "; changed by the administrator" >> "$admin/etc/zeb2hart/DTM.ini"
    install_component
    tail -1 "$admin/etc/zeb2hart/DTM.ini" | grep -x '; changed by the administrator' > /dev/null ||
        fail "installing the package again replaced the administrator's DTM.ini"
    echo "dpkg -i twice: the administrator's DTM.ini is kept"
fi

for binary in "$work"/root/usr/bin/zeb2hart "$work"/root/usr/lib/*/zeb2hart/libzeb2hart.so.*.*.*; do
    [ -f "$binary" ] || fail "$binary is not in the packages"
    if readelf -S "$binary" | grep -q '\.debug_info'; then fail "$binary is not stripped"; fi
done

output=$("$work/root/usr/bin/zeb2hart" demo --quiet --delay 1 2>&1) || fail "zeb2hart demo failed from the scratch root: $output"
printf '%s\n' "$output" | grep -q "Every expected answer arrived" || fail "the demo did not finish: $output"
echo "zeb2hart demo from the scratch root: every expected answer arrived"

# A frame script works on a copy of the component folder and edits the copy's
# DTM.ini: a file of its own, not the link to the administrator's.
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
"$work/root/usr/bin/zeb2hart" run --no-transcript "$scripts/trace.jsonl" > "$work/trace.log" 2>&1 ||
    fail "trace.jsonl failed from the scratch root (see $work/trace.log)"
cmp -s "$work/root/etc/zeb2hart/DTM.ini" "$scripts/../../data/Resources/DTM.ini" ||
    fail "a frame script's copy of the component folder changed the installed DTM.ini"
echo "a frame script edited its copy's DTM.ini; /etc/zeb2hart/DTM.ini is unchanged"
