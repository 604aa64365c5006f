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

# Reads one run's gtest output: "status<TAB>test" per test, and
# "unfinished<TAB>test" for a test that started and never reported.
parse_run() {
    awk '
        { sub(/\r$/, "") }
        function name_of(line) {
            line = substr(line, 14)
            sub(/ \([0-9]+ ms\)$/, "", line)
            sub(/, where .*$/, "", line)
            return line
        }
        /^\[ RUN      \] / { current = name_of($0); next }
        /^\[       OK \] .* \([0-9]+ ms\)$/ { print "passed\t" name_of($0); current = ""; next }
        /^\[  FAILED  \] .* \([0-9]+ ms\)$/ { print "failed\t" name_of($0); current = ""; next }
        /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ { print "skipped\t" name_of($0); current = ""; next }
        END { if (current != "") print "unfinished\t" current }
    ' "$1"
}

# Runs a program with a gtest filter, echoing its output, and ends it when it
# prints nothing for PAGER_TEST_TIMEOUT seconds (a test that never returns).
run_filtered() {
    local exe=$1 log=$2 filter=$3 pid echo_pid rc idle=0 size last_size=-1
    (cd "$payload/bin" && exec wine "$exe" --gtest_filter="$filter" </dev/null >"$log" 2>&1) &
    pid=$!
    (tail -n +1 -f --pid="$pid" "$log" | tr -d '\r') &
    echo_pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        sleep 2
        size=$(stat -c %s "$log")
        if [ "$size" = "$last_size" ]; then
            idle=$((idle + 2))
        else
            idle=0
            last_size=$size
        fi
        if [ "$idle" -ge "$PAGER_TEST_TIMEOUT" ]; then
            echo "vm32: no output for ${idle}s, ending $exe"
            kill -9 "$pid" 2>/dev/null
            break
        fi
    done
    wait "$pid"
    rc=$?
    wait "$echo_pid"
    [ "$idle" -lt "$PAGER_TEST_TIMEOUT" ] || rc=124
    return "$rc"
}

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

# A program runs its tests in one process, the way it does by hand. A test
# that fails, dies or skips there (a skip can come from what an earlier test
# left in the process) runs again alone, in a process of its own as CTest
# runs it, and that result counts; after a death the program goes on without
# the tests that have reported.
run_program() {
    local exe=$1 program filter excluded="" run=0 rc log parsed unfinished retry=() test alone
    local -A first=()
    program=${exe%.exe}
    filter=${PAGER_TEST_FILTER:-*}
    # gtest filters are POSITIVE[-NEGATIVE]: exclusions join the negative part.
    local separator=-
    [[ $filter == *-* ]] && separator=:
    while [ "$run" -lt 50 ]; do
        run=$((run + 1))
        log="$results/$program.$run.log"
        rc=0
        run_filtered "$exe" "$log" "$filter${excluded:+$separator$excluded}" || rc=$?
        parsed=$(parse_run "$log")
        while IFS=$'\t' read -r status test; do
            case "$status" in
                passed) record "$status" "$program" "$test" ;;
                skipped|failed|unfinished) retry+=("$test"); first[$test]=$status ;;
            esac
        done <<<"$parsed"
        unfinished=$(printf '%s\n' "$parsed" | sed -n 's/^unfinished\t//p')
        if [ -z "$unfinished" ]; then
            if [ "$rc" -ne 0 ] && ! printf '%s\n' "$parsed" | grep -q '^failed'; then
                record failed "$program" "(program)" "exit code $rc outside any test"
            fi
            break
        fi
        excluded="$excluded${excluded:+:}$(printf '%s\n' "$parsed" | cut -f2 | paste -sd:)"
    done
    for test in "${retry[@]}"; do
        log="$results/$program.${test//\//_}.alone.log"
        echo "vm32: $test again, alone"
        alone=0
        (cd "$payload/bin" && timeout -k 10 "$PAGER_TEST_TIMEOUT" wine "$exe" --gtest_filter="$test" \
            </dev/null >"$log" 2>&1) || alone=$?
        tr -d '\r' <"$log"
        if [ "$alone" -eq 0 ] && grep -q '^\[  PASSED  \] 1 test' "$log"; then
            if [ "${first[$test]}" = skipped ]; then
                record passed "$program" "$test" "skipped after other tests in the same process, passed alone"
            else
                record passed "$program" "$test" "failed after other tests in the same process, passed alone"
            fi
        elif [ "$alone" -eq 0 ] && grep -q '^\[  SKIPPED \] 1 test' "$log"; then
            record skipped "$program" "$test"
        elif [ "$alone" -eq 124 ] || [ "$alone" -eq 137 ]; then
            record failed "$program" "$test" "timed out alone after ${PAGER_TEST_TIMEOUT}s"
        else
            record failed "$program" "$test" "alone: exit code $alone, output in ${log##*/}"
        fi
    done
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
