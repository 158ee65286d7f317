#!/usr/bin/env bash
# Installs what the tests need, checks the include layers, builds the
# sanitizer build and runs every test under a virtual X display: each test in
# its own process, and the unit and GUI suites once more as one process each
# in a random order. The test packages bring Noto Sans Mono, which fontconfig
# then picks for "monospace"; the GUI suite runs once more (one shuffled
# process) under a fontconfig file that hides it, so the suites are seen to
# pass with the monospace font of a machine without it too (the run stops if
# the hiding did not change the font), and that run has a 1024x768 screen and
# a window manager. The whole tree also has to compile with clang++. The GUI
# suite and the program run once more in a Release build, several times
# faster than the sanitizer build: a test that waits a number of ticks
# instead of for what it checks passes in one and fails in the other. The
# Release GUI suite runs again under two more monospace fonts, a thin one and
# a broad one, unpacked from their Debian packages into build/fonts without
# installing them, the broad one on a 1024x768 screen under a window manager.
# Last it builds the audio, download and sound-pack tests and the unit tests
# alone under ThreadSanitizer (it cannot share a build with AddressSanitizer)
# and runs them (of the unit tests, those of the connect, its host lookup, the
# settings writer and the saves and logins that use it), so a data race with
# the audio thread, the download worker, the lookup's worker or the settings
# writer fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
install_packages $TEST_PACKAGES

# The layers ARCHITECTURE.md lists hold (no include reaches down a layer),
# and its table of process-wide state names every global and how each test
# gets it back.
python3 "$root/scripts/check_layers.py"
python3 "$root/scripts/check_globals.py"

build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVUSK_SANITIZE=ON -DVUSK_BENCH=ON >/dev/null
cmake --build "$build" -j "$(build_jobs)"

# Without the precompiled header, so that every file has to include what it
# uses. Built, not run.
clang_build="$root/build/clang"
cmake -S "$root" -B "$clang_build" -DCMAKE_BUILD_TYPE=Debug -DVUSK_BENCH=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
cmake --build "$clang_build" -j "$(build_jobs)"

export GDK_BACKEND=x11
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$(build_jobs)" "$@"

monospace_family() {
  fc-match -f '%{family[0]}' monospace
}
without_noto="$root/tests/support/fonts-without-noto.conf"
usual_font=$(monospace_family)
other_font=$(FONTCONFIG_FILE="$without_noto" monospace_family)
echo "Monospace font: \"$usual_font\"; without Noto: \"$other_font\""
if [ "$other_font" = "$usual_font" ] || [[ "$other_font" == Noto*Mono ]]; then
  echo "FAILED: the GUI suite would not meet two monospace fonts: $without_noto leaves \"$other_font\"" >&2
  exit 1
fi
# Also the smallest screen the program is made for, under a window manager.
with_window_manager="$root/tests/support/gui_window_manager.sh"
FONTCONFIG_FILE="$without_noto" xvfb-run -a -s "-screen 0 1024x768x24" \
  "$with_window_manager" ctest --output-on-failure -R '^GuiTests\.OneShuffledProcess$'

release="$root/build/release-tests"
cmake -S "$root" -B "$release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$release" -j "$(build_jobs)" --target gui_tests varn-ossic
cd "$release"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -R '^(GuiTests\.OneShuffledProcess|Program\.)'

# Fonts of other stroke weights: each package is fetched and unpacked once
# into build/fonts (kept for later runs), never installed, and a fontconfig
# file beside it makes its font the monospace one.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
download_package() {
  local apt_options=(-q)
  # As root apt downloads as its own user, which may not write here.
  [ "$(id -u)" -ne 0 ] || apt_options+=(-o APT::Sandbox::User=root)
  local pause
  for pause in 0 10 30; do
    if [ "$pause" -gt 0 ]; then
      echo "Downloading $1 failed; trying again in $pause s with the package lists read again" >&2
      sleep "$pause"
      $sudo apt-get update -qq || true
    fi
    apt-get "${apt_options[@]}" download "$1" && return 0
  done
  return 1
}
fonts="$root/build/fonts"
unpack_font_package() {
  local package=$1 family=$2
  local dir="$fonts/$package"
  if [ ! -e "$dir/unpacked" ]; then
    rm -rf "$dir"
    mkdir -p "$dir/download"
    (cd "$dir/download" && download_package "$package")
    dpkg -x "$dir"/download/*.deb "$dir"
    rm -r "$dir/download"
    touch "$dir/unpacked"
  fi
  sed "s/@FAMILY@/$family/" "$root/tests/support/fonts-unpacked.conf.in" >"$dir/fonts.conf"
  local chosen
  chosen=$(FONTCONFIG_FILE="$dir/fonts.conf" monospace_family)
  if [ "$chosen" != "$family" ]; then
    echo "FAILED: $dir/fonts.conf makes \"$chosen\" the monospace font, not \"$family\"" >&2
    exit 1
  fi
}
unpack_font_package fonts-freefont-ttf FreeMono
unpack_font_package fonts-liberation "Liberation Mono"
FONTCONFIG_FILE="$fonts/fonts-freefont-ttf/fonts.conf" xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure -R '^GuiTests\.OneShuffledProcess$'
FONTCONFIG_FILE="$fonts/fonts-liberation/fonts.conf" xvfb-run -a -s "-screen 0 1024x768x24" \
  "$with_window_manager" ctest --output-on-failure -R '^GuiTests\.OneShuffledProcess$'

tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" -DCMAKE_BUILD_TYPE=Debug -DVUSK_TSAN=ON >/dev/null
cmake --build "$tsan" -j "$(build_jobs)" --target audio_tests soundpack_tests unit_tests
for suite in audio_tests soundpack_tests; do
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/$suite" --gtest_brief=1
done
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/unit_tests" --gtest_brief=1 \
  --gtest_filter='SocketOpen.*:HostLookup.*:GameServerSession.*:SettingsWriter.*:PendingWrites.*:AtomicFile.*:HostileFiles.*:ConfigLogin.*'
