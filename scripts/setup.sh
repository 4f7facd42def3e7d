#!/usr/bin/env bash
# Sets up a Debian 12 machine for Vantrel and builds it.
#   scripts/setup.sh run [ARGS...]   install what is missing, build, start the editor
#   scripts/setup.sh test            install what is missing, build, run every test
#   scripts/setup.sh deps            only install what is missing
#   scripts/setup.sh check           the source checks of CI: format and include direction
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ ccache qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libx11-dev
          qt6-qpa-plugins fonts-liberation shared-mime-info desktop-file-utils xdg-utils)
# What CI's source checks need besides: the formatter and the include-direction script.
CHECK_PACKAGES=(clang-format python3)

deps() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    local werror=OFF
    [ "${VANTREL_WERROR:-0}" = "1" ] && werror=ON
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_WERROR="$werror" >/dev/null
    cmake --build build
}

case "${1:-}" in
    run)
        deps "${PACKAGES[@]}"
        build
        shift
        exec build/src/vantrel "$@"
        ;;
    test)
        deps "${PACKAGES[@]}"
        build
        cd build
        ctest --output-on-failure
        ;;
    deps)
        deps "${PACKAGES[@]}"
        ;;
    check)
        deps "${CHECK_PACKAGES[@]}"
        bash scripts/check_format.sh
        python3 scripts/check_layers.py
        ;;
    *)
        echo "usage: $0 run [ARGS...] | test | deps | check" >&2
        exit 2
        ;;
esac
