#!/bin/sh
# Registers ZEB2HARTGateway.dll with Wine's regsvr32 (with /u: unregisters it),
# by its Windows path, as an installer would.
#   register-gateway.sh WINE DLL [/u]
set -u
wine=$1 dll=$2
shift 2
windows_dll=$($wine winepath -w "$dll" 2> /dev/null | tr -d '\r')
[ -n "$windows_dll" ] || { echo "winepath cannot name $dll" >&2; exit 2; }
$wine regsvr32 /s "$@" "$windows_dll" || { echo "regsvr32 $* $windows_dll failed" >&2; exit 1; }
