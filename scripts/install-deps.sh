#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demo and the package need, only
# those missing.
set -euo pipefail

# firebird3.0-server: the tests start a private server of their own; the machine's
# service is never used.
PACKAGES=(
  build-essential cmake pkg-config
  libgtest-dev googletest
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  qt6-base-dev libgl-dev qt6-translations-l10n
  python3 python3-dbf python3-dbfread
  libxlsxwriter-dev zlib1g-dev
  xvfb xauth imagemagick x11-utils fonts-dejavu-core fonts-dejavu-extra
  dpkg-dev file binutils lintian desktop-file-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
