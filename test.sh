#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: the normal build (unit,
# simulator, real-window and real-browser tests), then the unit tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
install_packages
install_packages "${MIBBETFALL_WEB_PACKAGES[@]}"
export SDL_AUDIODRIVER=dummy

build build
build_web build
(cd build && ctest --output-on-failure -j 2)

build build-asan -DMIBBETFALL_SANITIZE=ON -DMIBBETFALL_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j 2 -LE 'e2e|web')
