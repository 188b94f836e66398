#!/bin/sh
# regsvr32 as an installer runs it, under Wine: after registering, the class,
# its server and its ProgID are in the registry; after /u none of them is left.
#   regsvr32.sh WINE DLL
set -u
wine=$1
dll=$($wine winepath -w "$2" 2> /dev/null | tr -d '\r')
clsid='HKCR\CLSID\{57A3E071-EDD7-412B-A84E-4C20E0C88770}'
failed=0
check() { # what, expected (present|absent), key
  if $wine reg query "$3" > /dev/null 2>&1; then found=present; else found=absent; fi
  [ "$found" = "$2" ] || { echo "after $1: $3 is $found" >&2; failed=1; }
}
$wine regsvr32 /s "$dll" || { echo "regsvr32 $dll failed" >&2; exit 1; }
server=$($wine reg query "$clsid\\InprocServer32" /ve 2> /dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
[ "$server" = "$dll" ] || { echo "InprocServer32 is '$server', not '$dll'" >&2; failed=1; }
check register present 'HKCR\ZEB2HARTGateway.DTMMain\CLSID'
$wine regsvr32 /s /u "$dll" || { echo "regsvr32 /u $dll failed" >&2; exit 1; }
check unregister absent "$clsid"
check unregister absent 'HKCR\ZEB2HARTGateway.DTMMain'
exit $failed
