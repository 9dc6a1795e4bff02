#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that need X11 start their own
# virtual desktop (scripts/virtual-desktop.sh). A second build with address and undefined-behaviour
# sanitizers runs the unit tests again, a third with the thread sanitizer runs the tests of the threaded parts,
# and the fuzz targets run a short pass each. Every build aborts on a store changed from a thread not its own.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

./scripts/install-deps.sh

export CCACHE_BASEDIR="$root"
export CCACHE_NOHASHDIR=1
jobs=$(nproc)

configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORA_WERROR=ON \
        -DCMAKE_CXX_FLAGS="-D_GLIBCXX_ASSERTIONS" -DQUILLORA_BUILD_BENCHMARKS=OFF -DQUILLORA_CHECK_THREADS=ON "$@" \
        >/dev/null
}

echo "== Build"
configure build/test
cmake --build build/test -j "$jobs"

echo "== Tests"
ctest --test-dir build/test --output-on-failure -j "$jobs" --timeout 600

# The package of the test build: the same files, install rules and dependencies as scripts/package.sh makes
# from its clean Release build, without a third build of everything.
echo "== Debian package"
rm -f build/test/quillora_*.deb
(cd build/test && cpack -G DEB >/dev/null)
./scripts/check-package.sh build/test/quillora_*.deb

echo "== Unit tests with sanitizers"
configure build/sanitize -DQUILLORA_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -L unit --timeout 600

# The screenshot writer, the recognition workers, the capture threads and the HTTP server's thread. The server
# test of the screenshot routes is left out here: their smooth scaling runs on Qt's own worker threads, which hand
# their tasks over inside the uninstrumented Qt libraries through code that has no name the sanitizer could be
# told (nothing of ours runs there).
echo "== Threaded tests with the thread sanitizer"
threaded=(history_tests capture_logic_tests api_server_tests)
configure build/tsan -DQUILLORA_SANITIZE_THREADS=ON
cmake --build build/tsan -j "$jobs" --target "${threaded[@]}"
export TSAN_OPTIONS="suppressions=$root/tests/support/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
GTEST_FILTER="-HTTPAPIAutomation.WindowsScreenshotsAndOpeners" \
    ctest --test-dir build/tsan --output-on-failure -j "$jobs" --timeout 600 \
    -R "^($(IFS='|'; echo "${threaded[*]}"))\$"

echo "== Fuzz targets, 20 s each"
FUZZ_TIMEOUT=5 ./scripts/fuzz.sh 20

echo "== All tests passed"
