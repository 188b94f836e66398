#!/usr/bin/env bash
# The Windows Installer packages under Wine, in a prefix of their own (made
# anew, so that the build tree's registration is never seen):
#   msi-under-wine.sh TOP WIN_BUILD ARCH...
# For each architecture (x86_64: wine64 msiexec, i686: wine msiexec): builds a
# package of a lower version and the current one, installs the lower one,
# upgrades to the current one (the catalogue flag changes, one Add/Remove
# entry), checks the files, the keys (class, ProgIDs, pages, type library,
# categories, the catalogue flag), cscript creating the DTM by its ProgID and
# calling GetFunctions, and the installed zeb2hart.exe running a frame script
# through COM against the installed DLL with the transcript of the build
# tree's frame; then a repair restores a deleted template and the uninstall
# leaves no file and no key of the component, but the categories and a new flag.
# First of all, a package around a DLL whose registration fails must roll back.
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

for arch; do
  case $arch in
    x86_64) wine=/usr/lib/wine/wine64 msiarch=x64 programs="Program Files" platform=win64 ;;
    i686) wine=/usr/lib/wine/wine msiarch=x86 programs="Program Files (x86)" platform=win32 ;;
  esac
  build="$root/$arch" out="$work/$msiarch"
  dir="$WINEPREFIX/drive_c/$programs/ZEB2HART Gateway"
  windir="C:\\$programs\\ZEB2HART Gateway"
  reg() { $wine reg query "$@" < /dev/null 2> /dev/null | tr -d '\r'; }
  has() { $wine reg query "$1" < /dev/null > /dev/null 2>&1; }
  entries() { reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall' /s | grep -c "DisplayName.*ZEB2HART Gateway DTM ($msiarch)"; }
  flag() { reg "$flagKey" /v ModificationFlag | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
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
  winepath_of() { $wine winepath -w "$1" 2> /dev/null < /dev/null | tr -d '\r'; }

  step "$arch: building the packages"
  mkdir -p "$out"
  ZEB2HART_MSI_VERSION=1.0.0 "$top/packaging/windows/make-msi" "$arch" "$build" "$out" > "$out/make-old.log" 2>&1 ||
    { fail "$arch: make-msi 1.0.0"; cat "$out/make-old.log"; continue; }
  "$top/packaging/windows/make-msi" "$arch" "$build" "$out" > "$out/make.log" 2>&1 ||
    { fail "$arch: make-msi"; cat "$out/make.log"; continue; }
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

  old="$out/ZEB2HARTGateway-1.0.0-$msiarch.msi"
  new=$(ls "$out"/ZEB2HARTGateway-*-$msiarch.msi | grep -v -- -1.0.0-)

  msiexec install-old /i "$(winepath_of "$old")" || fail "$arch: installing 1.0.0"
  flagOld=$(flag)
  [ -n "$flagOld" ] || fail "$arch: no catalogue flag after installing"
  msiexec upgrade /i "$(winepath_of "$new")" || fail "$arch: upgrading"
  flagNew=$(flag)
  [ -n "$flagNew" ] && [ "$flagNew" != "$flagOld" ] || fail "$arch: the upgrade left the catalogue flag '$flagOld'"
  entries=$(entries)
  [ "$entries" = 1 ] || fail "$arch: $entries Add/Remove entries after the upgrade"

  # The files.
  for file in ZEB2HARTGateway.dll LICENSE.txt Resources/DTM.ini XMLData/DTMInformation.xml \
      XMLSchemas/ZEBCommunicationSchema.xml TestFrame/bin/zeb2hart.exe TestFrame/share/zeb2hart/Devices/VRA520.json \
      TestFrame/share/zeb2hart/FrameSchemas/DTMFunctionsSchema.xml; do
    [ -f "$dir/$file" ] || fail "$arch: $file is not installed"
  done
  # The keys, as DllRegisterServer writes them.
  server=$(reg "HKCR\\CLSID\\$clsid\\InprocServer32" /ve | sed -n 's/.*REG_SZ[[:space:]]*//p')
  [ "$server" = "$windir\\ZEB2HARTGateway.dll" ] || fail "$arch: InprocServer32 is '$server'"
  has 'HKCR\ZEB2HARTGateway.DTMMain\CLSID' || fail "$arch: no ProgID"
  for category in $categories; do
    has "HKCR\\CLSID\\$clsid\\Implemented Categories\\$category" || fail "$arch: not in category $category"
    has "HKCR\\Component Categories\\$category" || fail "$arch: no category $category"
  done
  for page in $pages; do has "HKCR\\$page\\CLSID" || fail "$arch: no $page"; done
  for page in $pageClasses; do has "HKCR\\CLSID\\$page\\Control" || fail "$arch: page $page is no control"; done
  has "HKCR\\TypeLib\\$library\\1.0\\0\\$platform" || fail "$arch: no type library"
  # The FDT interfaces' keys belong to the frame's FDT type library.
  has "HKCR\\Interface\\$idtm" && fail "$arch: the package registered IDtm's Interface key"

  # A script creates the DTM by its ProgID.
  $wine cscript //nologo "$(winepath_of "$here/GetFunctions.js")" > "$out/cscript.out" 2>&1 < /dev/null
  status=$?
  [ "$status" = 0 ] || { fail "$arch: cscript GetFunctions exit $status"; head -5 "$out/cscript.out"; }

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

  # A repair brings a deleted template back.
  rm "$dir/XMLData/DTMInformation.xml"
  msiexec repair /i "$(winepath_of "$new")" REINSTALL=ALL REINSTALLMODE=omus || fail "$arch: repair"
  [ -f "$dir/XMLData/DTMInformation.xml" ] || fail "$arch: the repair did not restore XMLData/DTMInformation.xml"

  # A second install of the same version is no second entry.
  msiexec again /i "$(winepath_of "$new")"
  entries=$(entries)
  [ "$entries" = 1 ] || fail "$arch: $entries Add/Remove entries after a second install"

  flagInstalled=$(flag)
  msiexec uninstall /x "$(winepath_of "$new")" || fail "$arch: uninstalling"
  [ ! -e "$dir" ] || { fail "$arch: left behind:"; find "$dir"; }
  has "HKCR\\CLSID\\$clsid" && fail "$arch: the class is left"
  has 'HKCR\ZEB2HARTGateway.DTMMain' && fail "$arch: the ProgID is left"
  for page in $pages; do has "HKCR\\$page" && fail "$arch: $page is left"; done
  for page in $pageClasses; do has "HKCR\\CLSID\\$page" && fail "$arch: page class $page is left"; done
  has "HKCR\\TypeLib\\$library" && fail "$arch: the type library is left"
  for category in $categories; do has "HKCR\\Component Categories\\$category" || fail "$arch: category $category is gone"; done
  entries=$(entries)
  [ "$entries" = 0 ] || fail "$arch: the Add/Remove entry is left"
  flagRemoved=$(flag)
  [ -n "$flagRemoved" ] && [ "$flagRemoved" != "$flagInstalled" ] || fail "$arch: the uninstall left the catalogue flag"
done
[ "$failed" = 0 ] && echo "packages: all checks passed" || echo "packages: some checks failed"
exit $failed
