# Sourced by the other scripts: installs what the build, the tests and the
# window need from Debian's packages, then sets ROOT to the checkout.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

OMOTAC_PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  xvfb xauth x11-utils xdotool libxtst-dev libx11-dev imagemagick
  help2man
)

# The Debian package and the checks of what is installed (scripts/package,
# scripts/check-install).
OMOTAC_PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils man-db)

# The test script also fuzzes, which takes clang and its libFuzzer runtime.
OMOTAC_TEST_PACKAGES=(clang libclang-rt-14-dev)

# The web toolchain, and the headless browser the page is tested in: the test
# script holds the core (hull/ and scene/) to compiling with its em++ as well,
# then builds the page (scripts/web) and drives it.
OMOTAC_WEB_PACKAGES=(emscripten chromium chromium-driver python3-selenium)

# Installs the named packages that are missing, or says how to. A package
# whose triggers another install has yet to run is installed already.
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -qE 'install ok (installed|triggers-pending|triggers-awaited)' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 2
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

JOBS=$(nproc 2>/dev/null || echo 2)
