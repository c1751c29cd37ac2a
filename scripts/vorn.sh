#!/usr/bin/env bash
# One entry point for a fresh Debian machine:
#   scripts/vorn.sh start   install what is missing, build, start the program
#   scripts/vorn.sh test    install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")/.."

action=${1:-}
case "$action" in
start | test) ;;
*)
    echo "usage: $0 start|test" >&2
    exit 2
    ;;
esac

install_missing() {
    local wanted missing=()
    mapfile -t wanted < <(grep -v -e '^#' -e '^[[:space:]]*$' scripts/packages.txt)
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

install_missing
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

if [ "$action" = start ]; then
    exec build/bin/Vorn
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
