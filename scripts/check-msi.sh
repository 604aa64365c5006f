#!/bin/bash
# Static checks of the installer package's tables, read with msiinfo: the
# registry rows that make the class known to COM and to the bar (and remove
# it on uninstall), the file and its folder, per-machine scope, the version,
# the fixed UpgradeCode, the removal of an installed version (the same one
# too) and the refusal under a later one.
# Usage: check-msi.sh MSI VERSION CLASS_ID      (CLASS_ID: "{...}", the build's class-id.txt)
set -euo pipefail

msi=$1 version=$2 clsid=$3
[ -f "$msi" ] || { echo "FAIL: no $msi (scripts/package.sh writes it)"; exit 1; }
catid='{49E86696-EAA6-45A2-9480-C78C013B9713}'
plugins="Software\\Velmora\\Quorvane\\plugins\\$clsid"
failures=0

# A table's rows, without msiinfo's three header lines.
rows() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }

# Registry: Root (0 classes root, 2 local machine), Key, Name ("*": the key is
# made on install and removed with all below it on uninstall), Value, Component.
expected_registry=$(printf '%s\t%s\t%s\t%s\tPagerDll\n' \
    0 "CLSID\\$clsid" '*' '' \
    0 "CLSID\\$clsid" '' 'Virtual Desktop' \
    0 "CLSID\\$clsid\\InprocServer32" '' '[#pager.dll]' \
    0 "CLSID\\$clsid\\InprocServer32" ThreadingModel Apartment \
    0 "CLSID\\$clsid\\Implemented Categories\\$catid" '*' '' \
    2 "$plugins" '*' '' \
    2 "$plugins" '' 'Virtual Desktop' \
    2 "$plugins\\Langs" '*' '' | sort)
actual_registry=$(rows Registry | cut -f2- | sort)
if [ "$actual_registry" != "$expected_registry" ]; then
    echo "FAIL: registry rows differ"
    diff <(echo "$expected_registry") <(echo "$actual_registry") | sed -n 's/^[<>]/  &/p'
    failures=$((failures + 1))
fi

expect_row() {  # table row
    rows "$1" | grep -Fxq -- "$2" || { echo "FAIL: $1 has no row '$2'"; failures=$((failures + 1)); }
}
rows File | grep -q "^pager.dll$(printf '\t')PagerDll$(printf '\t')pager.dll$(printf '\t')" ||
    { echo "FAIL: no file pager.dll in the component"; failures=$((failures + 1)); }
expect_row Component "$(printf 'PagerDll\t{4BB92F69-E2C2-48A9-980E-A0AF825E3900}\tPluginsFolder\t0\t\tpager.dll')"
expect_row Directory "$(printf 'PluginsFolder\tQuorvaneFolder\tplugins')"
expect_row Directory "$(printf 'QuorvaneFolder\tProgramFilesFolder\tQuorvane')"
expect_row Property "$(printf 'ALLUSERS\t1')"
expect_row Property "$(printf 'ProductVersion\t%s' "$version")"
expect_row Property "$(printf 'UpgradeCode\t{9E08B051-8A86-4BF7-BA5C-D52E8D5E7D2B}')"
# Every installed version is removed (256: the minimum 0.0.0 included), a
# later one (2: only detected, its minimum left out) refuses the install.
expect_row Upgrade "$(printf '{9E08B051-8A86-4BF7-BA5C-D52E8D5E7D2B}\t0.0.0\t\t\t256\t\tWIX_UPGRADE_DETECTED')"
expect_row Upgrade "$(printf '{9E08B051-8A86-4BF7-BA5C-D52E8D5E7D2B}\t%s\t\t\t2\t\tWIX_DOWNGRADE_DETECTED' "$version")"
[ "$(rows Upgrade | wc -l)" -eq 2 ] || { echo "FAIL: Upgrade rows beyond the two"; failures=$((failures + 1)); }
expect_row LaunchCondition "$(printf 'NOT WIX_DOWNGRADE_DETECTED\tA later version of the Virtual Desktop pager is already installed.')"
rows InstallExecuteSequence | grep -q '^RemoveExistingProducts' ||
    { echo "FAIL: an earlier version is not removed"; failures=$((failures + 1)); }
msiinfo suminfo "$msi" | grep -q '^Template: Intel;' ||
    { echo "FAIL: not a package for 32-bit Windows"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "installer tables checked: $(rows Registry | wc -l) registry rows, version $version"
exit "$failures"
