#!/usr/bin/env bash
# Installs what the tests need, builds the sanitizer build and runs every test
# under a virtual X display; then builds the audio tests alone under
# ThreadSanitizer (it cannot share a build with AddressSanitizer) and runs
# them, so a data race with the audio thread fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
install_packages $TEST_PACKAGES

build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVUSK_SANITIZE=ON -DVUSK_BENCH=ON >/dev/null
cmake --build "$build" -j "$(build_jobs)"

export GDK_BACKEND=x11
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$(build_jobs)" "$@"

tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" -DCMAKE_BUILD_TYPE=Debug -DVUSK_TSAN=ON >/dev/null
cmake --build "$tsan" -j "$(build_jobs)" --target audio_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/audio_tests" --gtest_brief=1
