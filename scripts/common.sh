# Shared by scripts/run and scripts/test: installs what the build needs and
# builds the tree. Meant to be sourced.

CORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# ccache keys on paths relative to the checkout, so every clone and build
# folder of this tree shares one cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$CORVANE_ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
CORVANE_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev ccache locales libcli11-dev nlohmann-json3-dev)

corvane_install_packages() {
  local missing=()
  for p in "${CORVANE_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# corvane_build BUILD_DIR [cmake options...] -- [ninja targets...]
corvane_build() {
  local dir=$1; shift
  local opts=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  targets=("$@")
  cmake -S "$CORVANE_ROOT" -B "$dir" -G Ninja "${opts[@]}" >/dev/null
  ninja -C "$dir" "${targets[@]}"
}

# A comma-decimal locale for the second run of the suite; generated from the
# locales package when the machine lacks it.
CORVANE_COMMA_LOCALE=de_DE.UTF-8
corvane_comma_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 "$CORVANE_COMMA_LOCALE"
}
