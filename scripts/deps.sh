#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tool need; quick when all are present.
# `scripts/deps.sh fuzz` installs what the fuzz build needs as well (clang 16, libc++, libFuzzer);
# `scripts/deps.sh format` what scripts/check-format.sh needs (clang-format, git clang-format);
# `scripts/deps.sh arm64` what the arm64 cross build and its emulated tests need (scripts/cross-build.sh):
# the foreign architecture, the cross compiler, the :arm64 libraries and qemu-user-static.
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
# The arm64 libraries that install beside their amd64 twins (Multi-Arch: same), with what the PHP and
# MariaDB packages below need at run time.
arm64_packages=(
  zlib1g-dev libunicorn-dev libasmjit-dev libcapstone-dev qt6-base-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev libx11-dev libpcre2-dev libssl-dev libcpp-httplib-dev
  libmariadb3 libargon2-1 libpcre2-8-0 libsodium23 libssl3 libxml2 libmagic1 libffi8 libonig5
)
# These cannot sit beside their amd64 twins (same file names, no Multi-Arch), and installing them would
# remove the native ones: they are unpacked into a directory of their own instead, which the toolchain
# file and the emulator's library prefix point at.
arm64_unpacked=(libmariadb-dev libphp8.2-embed php8.2-dev php8.2-common php8.2-mbstring)
arm64_sysroot=${BRINDLE_ARM64_SYSROOT:-/opt/brindle/arm64-sysroot}

case "${1:-}" in
  fuzz) packages+=(clang-16 libc++-16-dev libc++abi-16-dev libclang-rt-16-dev libfuzzer-16-dev) ;;
  format) packages+=(clang-format) ;;
  arm64) packages+=(crossbuild-essential-arm64 qemu-user-static "${arm64_packages[@]/%/:arm64}") ;;
esac

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if [[ "${1:-}" == arm64 ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $sudo dpkg --add-architecture arm64
  $sudo apt-get update -qq
fi

# NAME is the native architecture's package, NAME:ARCH that architecture's; both may be installed.
native=$(dpkg --print-architecture)
present=$(dpkg-query -W -f='${Package}:${Architecture} ${Status}\n' "${packages[@]%%:*}" 2>/dev/null |
  sed -n "s/:all /:$native /; s/ install ok installed$//p" || true)
missing=()
for p in "${packages[@]}"; do
  [[ $p == *:* ]] || p+=":$native"
  grep -qxF "$p" <<<"$present" || missing+=("${p%:"$native"}")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[[ "${1:-}" == arm64 ]] || exit 0
# Debian registers qemu for arm64 programs at boot (systemd-binfmt); where that did not happen, as in a
# container, it is done here, so that an emulated program can start another.
if [[ ! -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ]]; then
  [[ -e /proc/sys/fs/binfmt_misc/register ]] || $sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || true
  $sudo sh -c 'cat /usr/lib/binfmt.d/qemu-aarch64.conf > /proc/sys/fs/binfmt_misc/register' ||
    echo "warning: qemu is not registered for arm64 programs; emulated tests cannot start arm64 children" >&2
fi
# The unpacked packages, each at the version apt offers now (the same as the installed libmariadb3:arm64),
# unpacked again when a version or this script changes.
wanted=$(apt-cache policy "${arm64_unpacked[@]/%/:arm64}" | awk '/^[^ ]/ {name = $1} /^ *Candidate:/ {print name, $2}'
         sha1sum <"$0")
[[ -f "$arm64_sysroot/.unpacked" && $(cat "$arm64_sysroot/.unpacked") == "$wanted" ]] && exit 0
echo "Unpacking into $arm64_sysroot: ${arm64_unpacked[*]}"
downloads=$(mktemp -d)
trap 'rm -rf "$downloads"' EXIT
chmod 755 "$downloads"  # apt downloads as its own user
(cd "$downloads" && apt-get download -qq "${arm64_unpacked[@]/%/:arm64}")
$sudo rm -rf "$arm64_sysroot"
$sudo mkdir -p "$arm64_sysroot"
for deb in "$downloads"/*.deb; do $sudo dpkg-deb -x "$deb" "$arm64_sysroot"; done
# The development files name /usr; here they live under the sysroot. The links to libraries point at
# the installed ones (libmariadb3:arm64).
$sudo sed -i -E "s|^prefix=\"?/usr\"?$|prefix=$arm64_sysroot/usr|" \
  "$arm64_sysroot"/usr/lib/aarch64-linux-gnu/pkgconfig/libmariadb.pc "$arm64_sysroot"/usr/bin/php-config8.2
for link in "$arm64_sysroot"/usr/lib/aarch64-linux-gnu/*.so; do
  [[ -e "$link" ]] || $sudo ln -sf "/usr/lib/aarch64-linux-gnu/$(readlink "$link")" "$link"
done
# PHP's library is named libphp.so inside (its soname); installed, ldconfig makes that link.
$sudo ln -sf libphp8.2.so "$arm64_sysroot"/usr/lib/libphp.so
echo "$wanted" | $sudo tee "$arm64_sysroot/.unpacked" >/dev/null
