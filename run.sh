#!/usr/bin/env bash
# Installs what is missing, builds the game and its assets (only what changed, when a build is
# already there), and starts it. An existing build also starts on its own: build/bin/mibbetfall.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
install_packages
if [ -f build/build.ninja ]; then
  # Ninja configures again by itself when a CMakeLists.txt changed; the build's options stay.
  cmake --build build -j "$(nproc)" --target mibbetfall
else
  build build -DMIBBETFALL_TESTS=OFF -DMIBBETFALL_BENCH=OFF
fi
echo "Starting build/bin/mibbetfall (to start this build again without checking anything: build/bin/mibbetfall)"
exec ./build/bin/mibbetfall
