#!/usr/bin/env bash
# Builds the Debian package from a clean Release build in build/package, with Debian's compiler and linker flags
# (hardening included), checks it (scripts/check-package.sh) and prints its path.
#
#   scripts/package.sh [--install]
#
# --install then installs it with apt, together with the packages it depends on.
set -euo pipefail
cd "$(dirname "$0")/.."

install=0
case "${1:-}" in
    --install) install=1 ;;
    "") ;;
    *)
        echo "usage: scripts/package.sh [--install]" >&2
        exit 2
        ;;
esac

./scripts/install-deps.sh

dir=build/package
rm -rf "$dir"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The package is stripped: debug information would only make the build slower.
export DEB_CXXFLAGS_MAINT_STRIP=-g
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_BUILD_TESTS=OFF -DQUILLORA_BUILD_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(realpath "$dir"/quillora_*.deb)
./scripts/check-package.sh "$deb"

if [ "$install" = 1 ]; then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get install -y "$deb"
fi
echo "$deb"
