#!/usr/bin/env bash
# Installs what the client needs, builds it (Release) and starts it.
# Arguments are passed to the client: [--web-host HOST[:PORT]] [HOST [PORT]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
install_packages $RUN_PACKAGES

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVUSK_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(build_jobs)"

export GDK_BACKEND="${GDK_BACKEND:-x11}"
exec "$build/varn-ossic" "$@"
