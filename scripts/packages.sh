# Debian packages of the project, and a helper that installs the missing ones.
# Sourced by the run and test scripts.

RUN_PACKAGES="libwxgtk3.2-dev libvorbisidec-dev libogg-dev portaudio19-dev libpng-dev libcairo2-dev libcurl4-openssl-dev cmake g++ make pkg-config"
TEST_PACKAGES="$RUN_PACKAGES clang xvfb xauth libgtest-dev libbenchmark-dev sox libsox-fmt-all vorbis-tools imagemagick xdotool x11-utils openbox python3 fontconfig fonts-noto-mono"

install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_jobs() {
  nproc 2>/dev/null || echo 2
}
