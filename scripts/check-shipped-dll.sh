#!/bin/bash
# Static checks of the DLL we ship: a PE32 i386 image whose exports carry the
# exact undecorated names and whose imports are Windows system DLLs only.
set -euo pipefail

dll=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$objdump" -p "$dll")
"$objdump" -f "$dll" | grep -q 'file format pei-i386' || fail "not a PE32 i386 image"
echo "$headers" | grep -q '^Magic[[:space:]]*010b' || fail "optional header is not PE32 (magic 010b)"

exports=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/.*\[ *[0-9]*\] \(.*\)$/\1/p' | sort)
expected=$(printf '%s\n' ${PAGER_EXPECTED_EXPORTS:-DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer RecoverWindows} | sort)
if [ "$exports" != "$expected" ]; then
    fail "exports differ"
    echo "expected:"; echo "$expected"; echo "actual:"; echo "$exports"
fi

allowed='^(kernel32|user32|gdi32|ole32|oleaut32|advapi32|shlwapi|comdlg32|comctl32|shell32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for import in $imports; do
    [[ $import =~ $allowed ]] || fail "imports a non-system DLL: $import"
done

echo "exports: $(echo $exports)"
echo "imports: $(echo $imports)"
[ $failures -eq 0 ] && echo "shipped DLL checks passed"
exit $failures
