#!/bin/bash
# The installer's round trip, a test that CTest runs inside the 32-bit VM
# (vm32-test.sh copies this into the payload as installer.sh; the working
# folder is the payload's bin): a quiet per-machine install, then a rebuilt
# package of the same version over it, which leaves one entry among the
# installed programs; the host (the demo bar) finds the class through the bar's
# plug-in category and creates the pager; a quiet uninstall leaves no key, no
# category entry and no file. Exits non-zero with the problems it found.
#
# Usage: installer.sh HOST CLASS_ID      e.g. demo_host.exe '{...}'
set -u

host=$1 clsid=$2
payload=$(cd .. && pwd)
msi=$(ls "$payload"/*.msi)
rebuilt=$(ls "$payload"/rebuilt/*.msi)
installed='C:\Program Files\Quorvane\plugins\pager.dll'
dll="$WINEPREFIX/drive_c/Program Files/Quorvane/plugins/pager.dll"
classes="HKCR\\CLSID\\$clsid" plugin="HKLM\\Software\\Velmora\\Quorvane\\plugins\\$clsid"
category="Implemented Categories\\{49E86696-EAA6-45A2-9480-C78C013B9713}"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
log=$(mktemp /tmp/installer.XXXXXX) host_log=/tmp/installer-host.log
problems=()

key_text() { wine reg query "$@" </dev/null 2>&1 | tr -d '\r'; }
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }

# Into a file: processes that Wine starts for msiexec must not hold CTest's output open.
{
    echo "msiexec /i ${msi##*/} /qn"
    wine msiexec /i "Z:${msi//\//\\}" /qn </dev/null || problems+=("msiexec /i: exit code $?")
    echo "msiexec /i rebuilt/${rebuilt##*/} /qn"
    wine msiexec /i "Z:${rebuilt//\//\\}" /qn </dev/null || problems+=("msiexec /i rebuilt: exit code $?")
    entries=$(key_text "$uninstall" /s | grep -c 'DisplayName.*Virtual Desktop pager')
    echo "installed programs' entries of the pager: $entries"
    [ "$entries" = 1 ] || problems+=("$entries entries among the installed programs, not 1")
    [ -f "$dll" ] || problems+=("no $installed")
    key_text "$classes\\InprocServer32" | grep REG_SZ
    key_text "$classes" | grep -q 'REG_SZ *Virtual Desktop' || problems+=("no class key")
    key_text "$classes\\InprocServer32" | grep -qF "$installed" || problems+=("InprocServer32 is not the installed file")
    key_text "$classes\\InprocServer32" | grep -q 'ThreadingModel *REG_SZ *Apartment' || problems+=("no ThreadingModel Apartment")
    has_key "$classes\\$category" || problems+=("no category entry")
    key_text "$plugin" | grep -q 'REG_SZ *Virtual Desktop' || problems+=("no plug-in key")
    has_key "$plugin\\Langs" || problems+=("no Langs key")

    echo "$host finds the pager through the bar's category"
    rm -f "$host_log"
    (cd /tmp && exec wine "$payload/bin/$host" --log "Z:${host_log//\//\\}" </dev/null >/dev/null 2>&1) &
    host_pid=$!
    for _ in $(seq 120); do
        grep -q "^created $clsid" "$host_log" 2>/dev/null && break
        sleep 1
    done
    tr -d '\r' <"$host_log" 2>/dev/null
    grep -q "^created $clsid" "$host_log" 2>/dev/null || problems+=("the host did not create the pager")
    wine taskkill /im "$host" </dev/null
    for _ in $(seq 30); do kill -0 "$host_pid" 2>/dev/null || break; sleep 1; done
    kill -9 "$host_pid" 2>/dev/null
    wait "$host_pid"

    echo "msiexec /x rebuilt/${rebuilt##*/} /qn"
    wine msiexec /x "Z:${rebuilt//\//\\}" /qn </dev/null || problems+=("msiexec /x: exit code $?")
    [ ! -e "$dll" ] || problems+=("$installed stays")
    has_key "$classes" && problems+=("the class key stays")
    has_key "$plugin" && problems+=("the plug-in key stays")
    has_key 'HKLM\Software\Velmora' && echo "(HKLM\\Software\\Velmora, the bar's own key, stays)"
} >"$log" 2>&1
tr -d '\r' <"$log"
rm -f "$log"
[ ${#problems[@]} -eq 0 ] && exit 0
printf 'installer round trip: %s\n' "${problems[@]}"
exit 1
