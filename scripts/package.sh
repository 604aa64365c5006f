#!/bin/bash
# Builds the i686 DLL in its release configuration and writes the release
# into build/release/ (VERSION comes from CMake):
#   pager-VERSION-win32.zip          pager.dll, stripped, and README.txt
#   pager-VERSION-win32-symbols.zip  pager.dll.debug: the debug information split
#                                    off the same build, named by the DLL's debug link
#   pager-VERSION-x86.msi            the installer, made with wixl from packaging/pager.wxs
# Fails when the stripped DLL fails the static checks of the shipped DLL or is
# not under 100 KB, or when the installer's tables are not as they must be.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

build="$root/build/package"
stage="$build/stage"
out="$root/build/release"
cmake --preset package >/dev/null
cmake --build "$build" -j "$(nproc)" --target pager
version=$(cat "$build/version.txt")
class_id=$(cat "$build/class-id.txt")

rm -rf "$stage" "$out"
mkdir -p "$stage/dll" "$stage/symbols" "$out"
objcopy=i686-w64-mingw32-objcopy
"$objcopy" --only-keep-debug "$build/bin/pager.dll" "$stage/symbols/pager.dll.debug"
"$objcopy" --strip-all --add-gnu-debuglink="$stage/symbols/pager.dll.debug" "$build/bin/pager.dll" "$stage/dll/pager.dll"
dll_size=$(stat -c %s "$stage/dll/pager.dll")
scripts/check-shipped-dll.sh "$stage/dll/pager.dll"
[ "$dll_size" -lt 102400 ] || { echo "FAIL: the stripped pager.dll is $dll_size bytes, not under 100 KB"; exit 1; }
# Windows line ends, for Notepad.
sed -e "s/@VERSION@/$version/g" -e "s/@CLASS_ID@/$class_id/g" -e 's/$/\r/' packaging/README.txt >"$stage/dll/README.txt"

(cd "$stage/dll" && cmake -E tar cf "$out/pager-$version-win32.zip" --format=zip pager.dll README.txt)
(cd "$stage/symbols" && cmake -E tar cf "$out/pager-$version-win32-symbols.zip" --format=zip pager.dll.debug)
(cd "$stage/dll" && wixl -a x86 -D Version="$version" -D ClassId="$class_id" -D PagerDll=pager.dll \
     -o "$out/pager-$version-x86.msi" "$root/packaging/pager.wxs")
scripts/check-msi.sh "$out/pager-$version-x86.msi" "$version" "$class_id"

echo "release $version in $out (pager.dll: $dll_size bytes):"
for file in "$out"/*; do
    printf '  %-36s %9d bytes\n' "${file##*/}" "$(stat -c %s "$file")"
done
