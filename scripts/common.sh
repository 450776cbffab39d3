# Shared by the scripts: install what the build needs, then configure and build.
# Sourced, not run.

set -euo pipefail

TARROW8_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Sanitized runs stay quiet about the libobjc allocations the device's leak checks ignore.
export LSAN_OPTIONS="${LSAN_OPTIONS:-print_suppressions=0}"

# Debian packages the build and the tests need.
TARROW8_PACKAGES=(
  cmake ninja-build pkg-config clang libclang-rt-14-dev g++ gcc
  libobjc-12-dev libplist-dev libplist++-dev libicu-dev libcli11-dev
  libgtest-dev libbenchmark-dev libedit-dev python3
  # The tests of the simulator's HTML page read it with an HTML5 parser, as a browser does.
  libgumbo-dev
)

# Installs the packages that are missing (as root, or through sudo).
tarrow8_install_packages() {
  local missing=()
  for p in "${TARROW8_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root (or install sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
  fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# Configures and builds into build/ (or build-asan/ with "asan"); prints the folder.
tarrow8_build() {
  local kind="${1:-plain}" dir="$TARROW8_ROOT/build" extra=()
  if [ "$kind" = asan ]; then
    dir="$TARROW8_ROOT/build-asan"
    extra=(-DTARROW8_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  fi
  # A compiler cache, where the machine has one, makes rebuilds in several folders cheap.
  if command -v ccache >/dev/null; then
    extra+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$TARROW8_ROOT" -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    "${extra[@]}" >&2
  cmake --build "$dir" -j "$(nproc)" >&2
  echo "$dir"
}
