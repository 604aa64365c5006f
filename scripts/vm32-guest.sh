#!/bin/bash
# Runs inside the 32-bit test VM, started by the root image's boot stub from
# the payload that vm32-test.sh packed. Two modes (PAGER_VM32_MODE):
#   prepare  creates a Wine prefix with the normal session setup and hands it
#            back as prefix.tar, to be the start of every later run's prefix;
#   test     one Xvfb and Wine session (its prefix a copy of that one, on the
#            fourth disk), then every test program under 32-bit Wine.
# Results go back as a tar archive written to the third disk. In test mode
# tests.tsv holds one "status<TAB>program<TAB>test" line per test; in both
# modes "done" marks a run that got to the end.
set -u
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
payload=$(cd "$(dirname "$0")" && pwd)
mkdir -p /tmp
mountpoint -q /tmp || mount -t tmpfs -o size=75% tmp /tmp
# /run is small; the prefix archive and the logs go to /tmp.
results=/tmp/pager-vm32-results
mkdir -p "$results"
# Settings from the host: PAGER_VM32_MODE, PAGER_TEST_FILTER, PAGER_TEST_TIMEOUT.
source "$payload/settings"

started=$(date +%s)
elapsed() { echo "$(( $(date +%s) - started ))s"; }

send_results() {
    tar -C "$results" -cf - . | dd of=/dev/vdc bs=1M conv=fsync status=none
}

# The same session as the normal run, with the 32-bit loader and server.
export WINEARCH=win32 WINE64=wine WINESERVER=wineserver
source "$payload/wine-session.sh"
if [ "$PAGER_VM32_MODE" = test ] && [ -e /dev/vdd ]; then
    export PAGER_WINE_TEMPLATE=/dev/vdd
fi
echo "vm32: starting Xvfb and a Wine session"
start_wine_session
echo "vm32: Wine session ready after $(elapsed)"

if [ "$PAGER_VM32_MODE" = prepare ]; then
    # The server writes the registry out as it ends.
    "$WINESERVER" -k
    "$WINESERVER" -w 2>/dev/null || true
    tar -C "$WINEPREFIX" -cf "$results/prefix.tar" . && echo "$(elapsed)" >"$results/done"
    stop_wine_session
    send_results
    exit 0
fi

record() {  # status program test [note]
    printf '%s\t%s\t%s%s\n' "$1" "$2" "$3" "${4:+ ($4)}" >>"$results/tests.tsv"
}

# Whether the filter (gtest's POSITIVE[-NEGATIVE], ':'-separated patterns)
# picks a plain command's test name.
filter_picks() {
    local positive=${PAGER_TEST_FILTER:-*} negative="" pattern patterns picked=false
    if [[ $positive == *-* ]]; then
        negative=${positive#*-}
        positive=${positive%%-*}
    fi
    IFS=: read -ra patterns <<<"${positive:-*}"
    for pattern in "${patterns[@]}"; do
        [[ $1 == $pattern ]] && picked=true
    done
    IFS=: read -ra patterns <<<"$negative"
    for pattern in "${patterns[@]}"; do
        [[ $1 == $pattern ]] && picked=false
    done
    $picked
}

# A test that CTest runs as a plain command passes when it exits with 0.
run_command() {
    local name=$1 exe=$2 log="$results/$1.log" rc=0
    shift 2
    (cd "$payload/bin" && timeout -k 10 "$PAGER_TEST_TIMEOUT" wine "$exe" "$@" </dev/null >"$log" 2>&1) || rc=$?
    tr -d '\r' <"$log"
    if [ "$rc" -eq 0 ]; then
        record passed "${exe%.exe}" "$name"
    else
        record failed "${exe%.exe}" "$name" "exit code $rc, output in ${log##*/}"
    fi
}

# The installer's round trip: a quiet per-machine install, then a rebuilt
# package of the same version over it, which leaves one entry among the
# installed programs; the host (the demo bar) finds the class through the bar's
# plug-in category and creates the pager; a quiet uninstall leaves no key, no
# category entry and no file.
run_installer() {
    local name=$1 host=$2 log="$results/$1.log" msi problems=() host_pid
    local rebuilt entries clsid='{C2E600FF-9292-45B6-9AA3-E15276A9B27B}' installed='C:\Program Files\Quorvane\plugins\pager.dll'
    local classes="HKCR\\CLSID\\$clsid" plugin="HKLM\\Software\\Velmora\\Quorvane\\plugins\\$clsid"
    local category="Implemented Categories\\{49E86696-EAA6-45A2-9480-C78C013B9713}"
    local dll="$WINEPREFIX/drive_c/Program Files/Quorvane/plugins/pager.dll" host_log=/tmp/installer-host.log
    msi=$(ls "$payload"/*.msi)
    rebuilt=$(ls "$payload"/rebuilt/*.msi)
    local uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    key_text() { wine reg query "$@" </dev/null 2>&1 | tr -d '\r'; }
    has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
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
    if [ ${#problems[@]} -eq 0 ]; then
        record passed installer "$name"
    else
        local IFS=';'
        record failed installer "$name" "${problems[*]}"
    fi
}

# "status<TAB>Suite.Test" for each test of a GoogleTest XML report, or of the
# list that --gtest_list_tests writes (each test "listed" there).
reported() {
    [ -f "$1" ] || return 0
    awk '
        /<testsuite / { suite = $0; sub(/.*<testsuite name="/, "", suite); sub(/".*/, "", suite) }
        /<testcase / {
            test = $0; sub(/.*<testcase name="/, "", test); sub(/".*/, "", test); test = suite "." test
            status = /result="skipped"/ ? "skipped" : /status="run"/ ? "passed" : "listed"
            if (/\/>[ \t\r]*$/) { print status "\t" test; test = "" }
        }
        /<failure / && test != "" { status = "failed" }
        /<\/testcase>/ && test != "" { print status "\t" test; test = "" }
    ' "$1"
}

# Runs a GoogleTest program within PAGER_TEST_TIMEOUT seconds; GoogleTest
# writes its own report to $results/NAME.xml, the output goes to NAME.log.
gtest_run() {  # exe name gtest-arguments...
    local exe=$1 report="$results/$2.xml"
    shift 2
    (cd "$payload/bin" && timeout -k 10 "$PAGER_TEST_TIMEOUT" wine "$exe" "$@" --gtest_output="xml:Z:${report//\//\\}" \
        </dev/null >"${report%.xml}.log" 2>&1)
}

# A program runs its tests in one process, the way it does by hand. A test
# that did not pass there (failed, skipped, or never reported because the
# program died or ran out of time) runs again alone, in a process of its own
# as CTest runs it, and that result counts.
run_program() {
    local exe=$1 program=${1%.exe} filter=${PAGER_TEST_FILTER:-*} rc=0 alone status test first
    local -A outcome=()
    gtest_run "$exe" "$program.list" --gtest_filter="$filter" --gtest_list_tests
    gtest_run "$exe" "$program" --gtest_filter="$filter" || rc=$?
    tr -d '\r' <"$results/$program.log"
    while IFS=$'\t' read -r status test; do
        outcome[$test]=$status
    done < <(reported "$results/$program.xml")
    if [ "$rc" -ne 0 ] && [ ${#outcome[@]} -gt 0 ] && ! printf '%s\n' "${outcome[@]}" | grep -q '^failed$'; then
        record failed "$program" "(program)" "exit code $rc outside any test"
    fi
    while IFS=$'\t' read -r _ test; do
        # Disabled tests run only where they are asked for by name (CTest).
        case "$test" in *.DISABLED_*) continue ;; esac
        first=${outcome[$test]:-unfinished}
        if [ "$first" = passed ]; then
            record passed "$program" "$test"
            continue
        fi
        echo "vm32: $test again, alone"
        alone=0
        gtest_run "$exe" "$program.${test//\//_}.alone" --gtest_filter="$test" || alone=$?
        tr -d '\r' <"$results/$program.${test//\//_}.alone.log"
        status=$(reported "$results/$program.${test//\//_}.alone.xml" | cut -f1)
        if [ "$status" = passed ] && [ "$alone" -eq 0 ]; then
            case "$first" in
                skipped|failed) record passed "$program" "$test" "$first after other tests in the same process, passed alone" ;;
                *) record passed "$program" "$test" "unfinished in the same process, passed alone" ;;
            esac
        elif [ "$status" = skipped ] && [ "$alone" -eq 0 ]; then
            record skipped "$program" "$test"
        elif [ "$alone" -eq 124 ] || [ "$alone" -eq 137 ]; then
            record failed "$program" "$test" "timed out alone after ${PAGER_TEST_TIMEOUT}s"
        else
            record failed "$program" "$test" "alone: exit code $alone, output in $program.${test//\//_}.alone.log"
        fi
    done < <(reported "$results/$program.list.xml")
}

: >"$results/tests.tsv"
# One line per entry, tab-separated: "gtest EXE", "plain NAME EXE ARGS...",
# "msi NAME EXE". The installer goes first, into a prefix no test has touched.
{ grep '^msi' "$payload/programs"; grep -v '^msi' "$payload/programs"; } >"$results/programs"
while IFS=$'\t' read -r -u 3 -a entry; do
    [ "${entry[0]}" = gtest ] || filter_picks "${entry[1]}" || continue
    echo "vm32: ${entry[*]:1} ($(elapsed))"
    case "${entry[0]}" in
        gtest) run_program "${entry[1]}" ;;
        plain) run_command "${entry[@]:1}" ;;
        msi) run_installer "${entry[@]:1}" ;;
    esac
done 3<"$results/programs"
echo "vm32: tests finished after $(elapsed)"
stop_wine_session
echo "$(elapsed)" >"$results/done"
send_results
