# Shared by scripts/test and scripts/run: packages, builds, Xvfb and Wine.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
WINE_DIR=/usr/lib/wine
export PATH="$WINE_DIR:$PATH"

# fonts-wine is only a Recommends of wine64: without it there is no MS Sans
# Serif and the caption buttons are drawn as letters. The win32-threads
# compiler builds the shipped 32-bit programs (they must start on Windows XP).
# Free Pascal's compiler and its CHM units build the help compiler (help/).
KLR_PACKAGES="cmake make g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  g++-mingw-w64-i686-win32 googletest wine64 fonts-wine xvfb xauth xdotool imagemagick x11-utils
  fp-compiler fp-units-fcl fp-units-misc"

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

# Configures and builds one build folder:
#   win64       64-bit programs, tests and benches; the programs go to build/dist/win64
#   win32       32-bit tests and benches (posix threads), built only; ships nothing
#   win32-dist  the 32-bit programs (win32 threads, for Windows XP) into build/dist/win32
build_arch() {
  local arch=$1 options=()
  case $arch in
    win64) options=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake") ;;
    win32) options=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686.cmake" -DKLR_THREAD_MODEL=posix
                    -DKLR_DIST_DIR="$BUILD/win32/dist") ;;
    win32-dist) options=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686.cmake" -DKLR_THREAD_MODEL=win32
                         -DKLR_DIST_DIR="$BUILD/dist/win32") ;;
  esac
  # Configuring every time is quick and picks up folders that appeared since.
  cmake -S "$ROOT" -B "$BUILD/$arch" "${options[@]}" >/dev/null
  cmake --build "$BUILD/$arch" -j "$(nproc)"
}

# Starts Xvfb on a free display (Xvfb picks it) and exports DISPLAY; XVFB_PID is set.
start_xvfb() {
  local fdfile n i
  fdfile=$(mktemp)
  # A session of its own: the terminal's Ctrl+C must not take the display away
  # from programs that are still closing.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
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
  # A server already running for the prefix (a session of one's own) is fine.
  wineserver -p 2>/dev/null || true
  wine64 cmd /c exit </dev/null >/dev/null 2>&1
}

# Xvfb has no window manager: without this Wine waits up to two seconds for
# one each time a top-level window is hidden or destroyed. Tests only.
unmanaged_windows() {
  wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  return 0
}
