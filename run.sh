#!/usr/bin/env bash
# Installs what is missing, builds the game and its assets, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
install_packages
build build -DMIBBETFALL_TESTS=OFF -DMIBBETFALL_BENCH=OFF
exec ./build/bin/mibbetfall
