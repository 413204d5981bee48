#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tool need; quick when all are present.
# `scripts/deps.sh fuzz` installs what the fuzz build needs as well (clang 16, libc++, libFuzzer);
# `scripts/deps.sh format` what scripts/check-format.sh needs (clang-format, git clang-format).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  zlib1g-dev libunicorn-dev libasmjit-dev libcapstone-dev qt6-base-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
  libmariadb-dev mariadb-server-core libphp8.2-embed php8.2-dev libpcre2-dev libssl-dev libcpp-httplib-dev
  libx11-dev fonts-wqy-microhei xvfb x11-utils imagemagick
  openbox trayer xdotool chromium
  appstream dpkg-dev
  qt6-translations-l10n
)
case "${1:-}" in
  fuzz) packages+=(clang-16 libc++-16-dev libc++abi-16-dev libclang-rt-16-dev libfuzzer-16-dev) ;;
  format) packages+=(clang-format) ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
