#!/bin/bash
# Installs the Debian packages that any build, test, demo, benchmark or
# packaging step of this repository uses, when any is missing. This list is
# the only one: every script that needs a package installs through here.
set -euo pipefail

packages=(
    cmake make googletest                                   # build, test programs
    g++-mingw-w64-i686 g++-mingw-w64-x86-64                 # cross compilers
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64       # objdump, objcopy, strip
    wine64 xvfb xauth fonts-wine                            # tests under Wine (fonts-wine: Tahoma)
    wine64-preloader                                        # see below
    libxrandr2                                              # Wine's view of the screen's size
    imagemagick xdotool x11-utils                           # demo and screenshots
    debootstrap qemu-system-x86                             # the 32-bit VM
    wixl msitools                                           # the installer and its checks
)
# wine64-preloader: without it (wine64 only suggests it) Wine maps its fixed
# ranges after the kernel has placed the loader's heap at random, and about
# one process in a thousand finds the shared user data page at 0x7ffe0000
# taken and exits with status 1 before the program runs, silently when
# WINEDEBUG=-all ("failed to map the shared user data: c0000018" otherwise).
# The preloader reserves those ranges before anything else is mapped.

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
