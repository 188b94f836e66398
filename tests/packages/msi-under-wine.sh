#!/usr/bin/env bash
# The Windows Installer packages under Wine, in a prefix of their own (made
# anew, so that the build tree's registration is never seen):
#   msi-under-wine.sh TOP WIN_BUILD ARCH...
# For each architecture (x86_64: wine64 msiexec, i686: wine msiexec), one
# after the other into the same prefix, so that the second is installed beside
# the first: builds a package of a lower version and the current one, installs
# the lower one, edits its DTM.ini and upgrades to the current one (the edit is
# kept, the catalogue flag changes, one Add/Remove entry), refuses the lower
# one over it, checks the files, the keys (class, ProgIDs, pages, type library,
# categories, the catalogue flag), cscript creating the DTM by its ProgID and
# calling GetFunctions, and the installed zeb2hart.exe running a frame script
# through COM against the installed DLL with the transcript of the build
# tree's frame; then a repair restores a deleted template and DTM.ini.
# First of all, a package around a DLL whose registration fails must roll back.
# Then each is uninstalled in turn: the one left keeps its files and its
# class keys, and the last uninstall leaves no file and no key of the
# component, but the categories and a new flag.
set -uo pipefail
top=$1 root=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$root/package-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$root/package-tests"
rm -rf "$WINEPREFIX" "$work" && mkdir -p "$work"
failed=0
fail() { echo "FAIL: $*"; failed=1; }
step() { echo "[$(date +%T)] $*"; }
wine64=/usr/lib/wine/wine64
/usr/lib/wine/wine64 wineboot --init > "$work/wineboot.log" 2>&1 < /dev/null
/usr/lib/wine/wineserver -w
trap '/usr/lib/wine/wineserver -k 2> /dev/null || true' EXIT

clsid='{57A3E071-EDD7-412B-A84E-4C20E0C88770}'
library='{1CFB124C-45AD-4D38-AF15-7DB461A6FC68}'
categories='{036D1490-387B-11D4-86E1-00E0987270B9} {036D1491-387B-11D4-86E1-00E0987270B9}'
pages='ZEB2HARTGateway.ctlOfflineParam ZEB2HARTGateway.ctlMonitor ZEB2HARTGateway.ctlAbout'
pageClasses='{123C16C9-91D8-4711-AEE5-9C2B58B274B9} {5E2A1315-8998-4327-8EA1-F6EC8900B436} {1A898714-DDAA-4F59-A3E4-EACF0B661DF5}'
idtm='{036D1481-387B-11D4-86E1-00E0987270B9}'
flagKey='HKLM\SOFTWARE\FDT\DTMCatalogUpdates'

# The architecture the functions below work on: its msiexec and reg (each in
# its own registry view), its folder and its packages.
use() {
  arch=$1
  case $arch in
    x86_64) wine=/usr/lib/wine/wine64 msiarch=x64 programs="Program Files" platform=win64 ;;
    i686) wine=/usr/lib/wine/wine msiarch=x86 programs="Program Files (x86)" platform=win32 ;;
  esac
  build="$root/$arch" out="$work/$msiarch"
  dir="$WINEPREFIX/drive_c/$programs/ZEB2HART Gateway"
  windir="C:\\$programs\\ZEB2HART Gateway"
  old="$out/ZEB2HARTGateway-1.0.0-$msiarch.msi"
  new=$(ls "$out"/ZEB2HARTGateway-*-$msiarch.msi 2> /dev/null | grep -v -- -1.0.0-)
}
reg() { $wine reg query "$@" < /dev/null 2> /dev/null | tr -d '\r'; }
has() { $wine reg query "$1" < /dev/null > /dev/null 2>&1; }
uninstallKey='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
entries() { reg "$uninstallKey" /s | grep -c "DisplayName.*ZEB2HART Gateway DTM ($msiarch)"; }
installedVersion() {
  local key
  key=$(reg "$uninstallKey" /s | awk -v name="ZEB2HART Gateway DTM ($msiarch)" '/^HKEY/ { key = $0 }
    $1 == "DisplayName" && index($0, name) { print key; exit }')
  [ -n "$key" ] && reg "$key" /v DisplayVersion | sed -n 's/.*REG_SZ[[:space:]]*//p'
}
flag() { reg "$flagKey" /v ModificationFlag | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
winepath_of() { $wine winepath -w "$1" 2> /dev/null < /dev/null | tr -d '\r'; }
msiexec() { # label, arguments
  local label=$1 start end status
  shift
  start=$(date +%s.%N)
  $wine msiexec "$@" /qn /l*v "$(winepath_of "$out/$label.log")" > "$out/$label.out" 2>&1 < /dev/null
  status=$?
  /usr/lib/wine/wineserver -w
  end=$(date +%s.%N)
  step "$arch: msiexec $* -> exit $status ($(echo "$end - $start" | bc) s)"
  return $status
}
# The DLL's registration in the architecture's own registry view: the class
# with its server, its categories, the pages' classes.
classKeys() { # what is checked (for the messages)
  local server
  server=$(reg "HKCR\\CLSID\\$clsid\\InprocServer32" /ve | sed -n 's/.*REG_SZ[[:space:]]*//p')
  [ "$server" = "$windir\\ZEB2HARTGateway.dll" ] || fail "$arch, $1: InprocServer32 is '$server'"
  for category in $categories; do
    has "HKCR\\CLSID\\$clsid\\Implemented Categories\\$category" || fail "$arch, $1: not in category $category"
    has "HKCR\\Component Categories\\$category" || fail "$arch, $1: no category $category"
  done
  for page in $pageClasses; do has "HKCR\\CLSID\\$page\\Control" || fail "$arch, $1: page $page is no control"; done
}
# And in the keys both views share: the ProgIDs and the type library for the
# architecture; and a script creating the DTM by its ProgID.
sharedKeys() { # what is checked (for the messages)
  has 'HKCR\ZEB2HARTGateway.DTMMain\CLSID' || fail "$arch, $1: no ProgID"
  for page in $pages; do has "HKCR\\$page\\CLSID" || fail "$arch, $1: no $page"; done
  has "HKCR\\TypeLib\\$library\\1.0\\0\\$platform" || fail "$arch, $1: no type library"
  $wine cscript //nologo "$(winepath_of "$here/GetFunctions.js")" > "$out/cscript.out" 2>&1 < /dev/null
  local status=$?
  [ "$status" = 0 ] || { fail "$arch, $1: cscript GetFunctions exit $status"; head -5 "$out/cscript.out"; }
}
edit='; edited by the administrator'

for arch; do
  use "$arch"
  step "$arch: building the packages"
  mkdir -p "$out"
  ZEB2HART_MSI_VERSION=1.0.0 "$top/packaging/windows/make-msi" "$arch" "$build" "$out" > "$out/make-old.log" 2>&1 ||
    { fail "$arch: make-msi 1.0.0"; cat "$out/make-old.log"; continue; }
  "$top/packaging/windows/make-msi" "$arch" "$build" "$out" > "$out/make.log" 2>&1 ||
    { fail "$arch: make-msi"; cat "$out/make.log"; continue; }
  use "$arch"
  # A package whose DLL fails to register: the install fails and rolls back.
  mkdir -p "$out/failing"
  $arch-w64-mingw32-gcc -shared -o "$out/failing/ZEB2HARTGateway.dll" "$here/FailingRegistration.c" -Wl,--kill-at &&
    ZEB2HART_MSI_VERSION=0.9.0 ZEB2HART_MSI_DLL="$out/failing/ZEB2HARTGateway.dll" \
      "$top/packaging/windows/make-msi" "$arch" "$build" "$out/failing" > "$out/make-failing.log" 2>&1 ||
    { fail "$arch: the failing package"; cat "$out/make-failing.log"; continue; }
  msiexec failing /i "$(winepath_of "$out/failing/ZEB2HARTGateway-0.9.0-$msiarch.msi")" &&
    fail "$arch: the package whose registration fails was installed"
  [ ! -e "$dir" ] || { fail "$arch: the failed install left:"; find "$dir" | head; }
  [ "$(entries)" = 0 ] || fail "$arch: the failed install left an Add/Remove entry"

  msiexec install-old /i "$(winepath_of "$old")" || fail "$arch: installing 1.0.0"
  flagOld=$(flag)
  [ -n "$flagOld" ] || fail "$arch: no catalogue flag after installing"
  shipped="$out/stage-$msiarch-1.0.0/component/Resources/DTM.ini"
  cmp -s "$shipped" "$dir/Resources/DTM.ini" || fail "$arch: a fresh install's DTM.ini is not the shipped one"
  # The administrator edits DTM.ini; the upgrade keeps it.
  printf '%s\r\n' "$edit" >> "$dir/Resources/DTM.ini"
  cp "$dir/Resources/DTM.ini" "$out/DTM.ini.edited"
  msiexec upgrade /i "$(winepath_of "$new")" || fail "$arch: upgrading"
  flagNew=$(flag)
  [ -n "$flagNew" ] && [ "$flagNew" != "$flagOld" ] || fail "$arch: the upgrade left the catalogue flag '$flagOld'"
  entries=$(entries)
  [ "$entries" = 1 ] || fail "$arch: $entries Add/Remove entries after the upgrade"
  version=$(installedVersion)
  newVersion=$(basename "$new" | sed 's/^ZEB2HARTGateway-\(.*\)-.*/\1/')
  [ "$version" = "$newVersion" ] || fail "$arch: version '$version' installed after the upgrade to $newVersion"
  cmp -s "$out/DTM.ini.edited" "$dir/Resources/DTM.ini" || fail "$arch: the upgrade lost the edited DTM.ini"

  # The lower version over the current one is refused (the package's
  # launch condition, whose message Wine shows only with a user interface),
  # and the current one stays as it was.
  msiinfo export "$old" LaunchCondition > "$out/launch-conditions.txt"
  grep -q '^NOT WIX_DOWNGRADE_DETECTED	A newer version' "$out/launch-conditions.txt" ||
    fail "$arch: the package declares no refusal of a downgrade"
  msiexec downgrade /i "$(winepath_of "$old")" && fail "$arch: the downgrade to 1.0.0 was installed"
  grep -q 'LaunchConditions\. Return value 0' "$out/downgrade.log" || fail "$arch: the downgrade passed its launch conditions"
  version=$(installedVersion) entries=$(entries)
  [ "$version" = "$newVersion" ] && [ "$entries" = 1 ] ||
    fail "$arch: after the refused downgrade $entries entries, version '$version'"
  cmp -s "$out/DTM.ini.edited" "$dir/Resources/DTM.ini" || fail "$arch: the refused downgrade changed DTM.ini"

  # The files.
  for file in ZEB2HARTGateway.dll LICENSE.txt Resources/DTM.ini XMLData/DTMInformation.xml \
      XMLSchemas/ZEBCommunicationSchema.xml TestFrame/bin/zeb2hart.exe TestFrame/share/zeb2hart/Devices/VRA520.json \
      TestFrame/share/zeb2hart/FrameSchemas/DTMFunctionsSchema.xml; do
    [ -f "$dir/$file" ] || fail "$arch: $file is not installed"
  done
  # The keys, as DllRegisterServer writes them, and a script using them.
  classKeys installed
  sharedKeys installed
  # The FDT interfaces' keys belong to the frame's FDT type library.
  has "HKCR\\Interface\\$idtm" && fail "$arch: the package registered IDtm's Interface key"

  # The installed frame through COM against the installed DLL, and the build
  # tree's frame with the component in its process: the same transcript.
  script="$top/tests/scripts/connect.jsonl"
  $wine "$dir/TestFrame/bin/zeb2hart.exe" --component-dir "$windir" run "$(winepath_of "$script")" \
    > "$out/installed.raw" 2> "$out/installed.err" < /dev/null || fail "$arch: the installed frame's script failed"
  $wine "$build/bin/zeb2hart.exe" --component-dir "$(winepath_of "$build/lib")" run --in-process \
    "$(winepath_of "$script")" > "$out/build.raw" 2> "$out/build.err" < /dev/null || fail "$arch: the build tree's script failed"
  # Each with its own component and frame data folders, named alike here.
  json() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
  normalise() { # run, component folder, frame data folder
    tr -d '\r' < "$out/$1.raw" | sh "$top/tests/scripts/normalise-transcript.sh" |
      FRAME=$(json "$3") COMPONENT=$(json "$2") perl -pe 's/\Q$ENV{FRAME}\E/<frame data>/g; s/\Q$ENV{COMPONENT}\E/<component>/g' \
      > "$out/$1.jsonl"
  }
  normalise installed "$windir" "$windir\\TestFrame\\share\\zeb2hart"
  normalise build "$(winepath_of "$build/lib")" "$(winepath_of "$build/share/zeb2hart")"
  [ -s "$out/build.jsonl" ] && diff -u "$out/build.jsonl" "$out/installed.jsonl" || fail "$arch: transcripts differ"

  # A repair brings a deleted template and a deleted DTM.ini back.
  rm "$dir/XMLData/DTMInformation.xml" "$dir/Resources/DTM.ini"
  msiexec repair /i "$(winepath_of "$new")" REINSTALL=ALL REINSTALLMODE=omus || fail "$arch: repair"
  [ -f "$dir/XMLData/DTMInformation.xml" ] || fail "$arch: the repair did not restore XMLData/DTMInformation.xml"
  cmp -s "$out/stage-$msiarch-$newVersion/component/Resources/DTM.ini" "$dir/Resources/DTM.ini" ||
    fail "$arch: the repair did not restore the shipped DTM.ini"

  # A second install of the same version is no second entry.
  msiexec again /i "$(winepath_of "$new")"
  entries=$(entries)
  [ "$entries" = 1 ] || fail "$arch: $entries Add/Remove entries after a second install"
done

# Uninstalled in turn: the packages installed beside the one removed keep
# their files, entry, class keys and the keys both views share (the ProgIDs,
# the type library), and are still created by their ProgID; the last removal
# leaves nothing of the component.
remaining=("$@")
for arch; do
  remaining=("${remaining[@]:1}")
  use "$arch"
  [ -n "$new" ] || continue
  [ "$(entries)" = 1 ] || fail "$arch: no Add/Remove entry beside the other packages"
  classKeys "beside the other packages"
  flagInstalled=$(flag)
  msiexec uninstall /x "$(winepath_of "$new")" || fail "$arch: uninstalling"
  [ ! -e "$dir" ] || { fail "$arch: left behind:"; find "$dir"; }
  has "HKCR\\CLSID\\$clsid" && fail "$arch: the class is left"
  for page in $pageClasses; do has "HKCR\\CLSID\\$page" && fail "$arch: page class $page is left"; done
  has "HKCR\\TypeLib\\$library\\1.0\\0\\$platform" && fail "$arch: the type library's $platform entry is left"
  entries=$(entries)
  [ "$entries" = 0 ] || fail "$arch: the Add/Remove entry is left"
  flagRemoved=$(flag)
  [ -n "$flagRemoved" ] && [ "$flagRemoved" != "$flagInstalled" ] || fail "$arch: the uninstall left the catalogue flag"
  removed=$arch
  for other in "${remaining[@]}"; do
    use "$other"
    [ "$(entries)" = 1 ] || fail "$other: its Add/Remove entry went with $removed's"
    [ -f "$dir/ZEB2HARTGateway.dll" ] || fail "$other: its DLL went with $removed's"
    classKeys "after uninstalling $removed"
    sharedKeys "after uninstalling $removed"
  done
  use "$removed"
done
# Nothing of the component is left, but the categories.
has 'HKCR\ZEB2HARTGateway.DTMMain' && fail "the ProgID is left"
for page in $pages; do has "HKCR\\$page" && fail "$page is left"; done
has "HKCR\\TypeLib\\$library" && fail "the type library is left"
for category in $categories; do has "HKCR\\Component Categories\\$category" || fail "category $category is gone"; done
[ "$failed" = 0 ] && echo "packages: all checks passed" || echo "packages: some checks failed"
exit $failed
