#!/usr/bin/env bash
# Sets up, builds and runs Moriva on Debian: "./dev.sh start [FILE...]" or "./dev.sh test".
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev libsqlite3-dev libicu-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev libdeflate-dev fonts-noto-cjk poppler-utils)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j2
}

case "${1:-}" in
  start)
    shift
    install_missing
    build
    if [ -x build/src/app/moriva ]; then
      exec build/src/app/moriva "$@"
    fi
    exec build/src/cli/moriva-cli --help
    ;;
  test)
    install_missing
    build
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir build --output-on-failure -j2
    ;;
  *)
    echo "usage: ./dev.sh start [FILE...] | ./dev.sh test" >&2
    exit 2
    ;;
esac
