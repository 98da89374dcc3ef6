# Shared by scripts/test and scripts/run: packages, builds, Xvfb and Wine.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
WINE_DIR=/usr/lib/wine
export PATH="$WINE_DIR:$PATH"

KLR_PACKAGES="cmake make g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest
  wine64 xvfb xauth xdotool imagemagick x11-utils"

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "Need root (or sudo) to install: $*" >&2; return 1; fi
}

# Installs only what is missing, so a second run does not touch apt.
ensure_packages() {
  local missing=() p
  for p in $KLR_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures and builds one target: win64 or win32.
build_arch() {
  local arch=$1 toolchain
  case $arch in
    win64) toolchain=x86_64 ;;
    win32) toolchain=i686 ;;
  esac
  # Configuring every time is quick and picks up folders that appeared since.
  cmake -S "$ROOT" -B "$BUILD/$arch" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$toolchain.cmake" >/dev/null
  cmake --build "$BUILD/$arch" -j "$(nproc)"
}

# Starts Xvfb on a free display (Xvfb picks it) and exports DISPLAY; XVFB_PID is set.
start_xvfb() {
  local fdfile n i
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for i in $(seq 100); do
    n=$(head -n1 "$fdfile" 2>/dev/null || true)
    if [ -n "$n" ]; then
      rm -f "$fdfile"
      export DISPLAY=":$n"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$fdfile"
  echo "Xvfb did not start" >&2
  return 1
}

# A persistent wineserver for the prefix, then the prefix booted with its output
# kept away from any caller's pipes (Wine's services would hold them open).
start_wine() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wine64 cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  return 0
}
