#!/usr/bin/env bash
# Installs what is missing, builds the browser version into build-web/site (static files: the page,
# its script, the WebAssembly module and the game's assets) and serves it on a local port.
#   ./web.sh [PORT]        (PORT defaults to 8080)
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
install_packages
install_packages "${MIBBETFALL_WEB_PACKAGES[@]}"
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
build_web build
port=${1:-8080}
echo "Mibbetfall in the browser: http://127.0.0.1:$port/  (Ctrl+C stops the server)"
exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
