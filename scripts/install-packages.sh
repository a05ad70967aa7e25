# Installs the Debian packages that are not installed yet (sourced by scripts/setup.sh and
# scripts/setup-windows.sh): install_packages WHO PACKAGE... says in one line what WHO installs,
# or that all are present. Debian's npm counts as present when a Node.js with npm is already there.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

install_packages() {
  local who=$1 p
  shift
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  command -v npm >/dev/null 2>&1 || missing+=(npm)

  if [ ${#missing[@]} -gt 0 ]; then
    echo "$who: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "$who: all packages present"
  fi
}
