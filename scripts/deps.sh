# Installs the Debian packages the player needs, when some are missing, and
# on request clang with its sanitizer and libFuzzer runtimes. Sourced by
# scripts/play, scripts/test and scripts/fuzz.
TOVARO_PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
libsdl2-dev libsdl2-image-dev libfreetype-dev libfontconfig-dev libpng-dev libvorbis-dev \
libfluidsynth-dev timgm6mb-soundfont fonts-ipafont-gothic xvfb xdotool x11-apps"

tovaro_install_deps() {
  tovaro_install_packages $TOVARO_PACKAGES
}

tovaro_install_clang() {
  tovaro_install_packages clang libclang-rt-dev
}

tovaro_install_packages() {
  local missing=""
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $p"
    fi
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
}
