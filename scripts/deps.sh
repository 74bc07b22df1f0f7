# Installs the Debian packages the player needs, when some are missing.
# Sourced by scripts/play and scripts/test.
TOVARO_PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
libsdl2-dev libsdl2-image-dev libfreetype-dev libfontconfig-dev libpng-dev libvorbis-dev \
libfluidsynth-dev timgm6mb-soundfont fonts-ipafont-gothic xvfb xdotool x11-apps"

tovaro_install_deps() {
  local missing=""
  for p in $TOVARO_PACKAGES; do
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
