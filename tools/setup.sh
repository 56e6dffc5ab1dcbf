# Shared by ./run-tests and ./run-demo: installs missing Debian packages, configures and builds
# a preset, and runs commands with a private Xvfb display for Wine. Source it; do not run it.

LUMETRA_PACKAGES=(
  cmake g++ clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev
  mingw-w64 wine64 xvfb imagemagick x11-utils
  # The preview of lumetra check draws dialogs with Cairo (found through pkg-config).
  libcairo2-dev pkg-config
  # XLIFF through libxml2; the PO tests run msgcat, msgmerge and msgfmt.
  libxml2-dev gettext
  # The only fonts the Wine runs see (cmake/wine-run): the recordings depend on them.
  fonts-wine fonts-liberation2
  # The fonts of the other scripts' tests (Hebrew, Arabic, Thai, Chinese, Japanese, Korean), in
  # a font set of their own (cmake/wine-run, LUMETRA_FONT_SET=scripts).
  fonts-noto-core fonts-noto-cjk fonts-dejavu-core fonts-tlwg-loma-ttf
)

# Installs the packages of LUMETRA_PACKAGES that are not installed yet (apt-get; sudo when not root).
lumetra_install_packages() {
  local missing=() p
  for p in "${LUMETRA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures (once) and builds the preset $1; further arguments go to the build (e.g. --target).
lumetra_build() {
  local preset=$1; shift
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset" -j "$(nproc)" "$@"
}

# Runs a command with LUMETRA_DISPLAY set to a private Xvfb display that this function starts on
# a free display number and stops afterwards, with the Windows build's wineserver.
lumetra_with_xvfb() {
  local fifo num pid rc=0
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  pid=$!
  read -r num <"$fifo"; rm -f "$fifo"
  LUMETRA_DISPLAY=:$num "$@" || rc=$?
  WINEPREFIX=$PWD/build/windows/wineprefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  return $rc
}
