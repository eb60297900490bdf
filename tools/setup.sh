# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run.

# libcurl4 is named beside its headers because the game opens libcurl.so.4 itself, at its first post.
MIBBETFALL_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libinih-dev libcurl4-openssl-dev libcurl4 libcpp-httplib-dev
  libmp3lame-dev libgtest-dev libbenchmark-dev nlohmann-json3-dev fonts-dejavu-core libbackward-cpp-dev libdw-dev
  libsqlite3-dev libstb-dev chromium fonts-liberation
  libclang-rt-14-dev clang clang-format
  xvfb xdotool imagemagick x11-apps x11-utils xauth fontconfig xfonts-base desktop-file-utils openbox
)

# The browser version's compiler and the INI reader its page uses.
MIBBETFALL_WEB_PACKAGES=(emscripten node-ini)

# install_packages [PACKAGE...]: the given packages, or the game's, those not yet installed.
install_packages() {
  local wanted=("$@") missing=()
  [ ${#wanted[@]} -eq 0 ] && wanted=("${MIBBETFALL_PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# build DIR [extra cmake arguments...]
build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" -j "$(nproc)"
}

# build_web DESKTOP_BUILD: the browser version into build-web/site, from the assets and the
# embedded pictures that the desktop build's generator makes.
build_web() {
  local desktop=$1
  cmake --build "$desktop" -j "$(nproc)" --target mibbetfall_assets mibbetfall_embedded
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S web -B build-web -G Ninja -DMIBBETFALL_ASSET_DIR="$PWD/$desktop/bin/Assets" \
    -DMIBBETFALL_EMBEDDED_SOURCE="$PWD/$desktop/tools/assetgen/embedded_pictures.cpp" >/dev/null
  cmake --build build-web -j "$(nproc)"
}
