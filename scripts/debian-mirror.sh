# Sourced: debian_mirror SUITE prints the first enabled Debian mirror for that
# release in the machine's own apt sources (one-line or deb822 format).
debian_mirror() {
    local suite=$1 files=()
    [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
    files+=($(ls /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true))
    awk -v suite="$suite" '
        # One-line format: deb [options] URI suite components...
        /^deb[ \t]/ {
            sub(/\[[^]]*\]/, "")
            if ($3 == suite) { print $2; exit }
            next
        }
        # deb822 format: stanzas of Types/URIs/Suites/Enabled fields.
        /^[ \t]*$/ { flush(); next }
        /^Types:/   { types = $0 }
        /^URIs:/    { uri = $2 }
        /^Suites:/  { suites = " " substr($0, 8) " " }
        /^Enabled:/ { enabled = $2 }
        function flush() {
            if (types ~ /[ \t]deb([ \t]|$)/ && suites ~ "[ \t]" suite "[ \t]" && enabled != "no" && uri != "") {
                print uri; exit
            }
            types = ""; uri = ""; suites = ""; enabled = ""
        }
        END { flush() }
    ' "${files[@]}" | head -n1
}
