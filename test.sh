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

# The tests are asked for by name: ./run.sh configures build/ without them, and a cached OFF
# would otherwise leave ctest nothing to run.
build build -DMIBBETFALL_TESTS=ON -DMIBBETFALL_BENCH=ON
build_web build
(cd build && ctest --output-on-failure --no-tests=error -j 2)

build build-asan -DMIBBETFALL_SANITIZE=ON -DMIBBETFALL_TESTS=ON -DMIBBETFALL_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure --no-tests=error -j 2 -LE 'e2e|web')
