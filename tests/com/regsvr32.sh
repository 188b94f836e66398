#!/bin/sh
# regsvr32 as an installer runs it, under Wine: after registering, the class,
# its server, its ProgID and its membership of the FDT categories "FDT DTM" and
# "FDT DTM Device" are in the registry, and each page's ProgID and class; after
# /u none of the classes' keys is left, and the two categories still are. Each
# of the two sets a new catalogue change flag.
#   regsvr32.sh WINE DLL
set -u
wine=$1
dll=$($wine winepath -w "$2" 2> /dev/null | tr -d '\r')
clsid='HKCR\CLSID\{57A3E071-EDD7-412B-A84E-4C20E0C88770}'
categories='{036D1490-387B-11D4-86E1-00E0987270B9} {036D1491-387B-11D4-86E1-00E0987270B9}'
pages='ZEB2HARTGateway.ctlOfflineParam ZEB2HARTGateway.ctlMonitor ZEB2HARTGateway.ctlAbout'
pageClasses='{123C16C9-91D8-4711-AEE5-9C2B58B274B9} {5E2A1315-8998-4327-8EA1-F6EC8900B436} {1A898714-DDAA-4F59-A3E4-EACF0B661DF5}'
failed=0
check() { # what, expected (present|absent), key
  if $wine reg query "$3" > /dev/null 2>&1; then found=present; else found=absent; fi
  [ "$found" = "$2" ] || { echo "after $1: $3 is $found" >&2; failed=1; }
}
flag() {
  $wine reg query 'HKLM\SOFTWARE\FDT\DTMCatalogUpdates' /v ModificationFlag 2> /dev/null | tr -d '\r' |
    sed -n 's/.*REG_SZ[[:space:]]*//p'
}
changed() { # what, flag before
  now=$(flag)
  [ -n "$now" ] && [ "$now" != "$2" ] || { echo "after $1: the catalogue flag is '$now', was '$2'" >&2; failed=1; }
}
before=$(flag)
$wine regsvr32 /s "$dll" || { echo "regsvr32 $dll failed" >&2; exit 1; }
changed register "$before"
before=$(flag)
server=$($wine reg query "$clsid\\InprocServer32" /ve 2> /dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
[ "$server" = "$dll" ] || { echo "InprocServer32 is '$server', not '$dll'" >&2; failed=1; }
check register present 'HKCR\ZEB2HARTGateway.DTMMain\CLSID'
for category in $categories; do
  check register present "$clsid\\Implemented Categories\\$category"
  check register present "HKCR\\Component Categories\\$category"
done
for page in $pages; do check register present "HKCR\\$page\\CLSID"; done
for page in $pageClasses; do check register present "HKCR\\CLSID\\$page\\InprocServer32"; done
$wine regsvr32 /s /u "$dll" || { echo "regsvr32 /u $dll failed" >&2; exit 1; }
changed unregister "$before"
check unregister absent "$clsid"
check unregister absent 'HKCR\ZEB2HARTGateway.DTMMain'
for page in $pages; do check unregister absent "HKCR\\$page"; done
for page in $pageClasses; do check unregister absent "HKCR\\CLSID\\$page"; done
for category in $categories; do check unregister present "HKCR\\Component Categories\\$category"; done
exit $failed
