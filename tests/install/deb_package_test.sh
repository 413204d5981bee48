#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it with dpkg-deb: the control fields, the Depends
# worked out from the libraries really linked (the kernel's among them), and the files it installs.
# Usage: deb_package_test.sh BUILD_DIR APP_ID SOURCE_DIR ARCH (the Debian architecture built for)
set -euo pipefail
build=$1 id=$2 source_dir=$3 arch=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/.*CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$work/brindle_${version}_${arch}.deb
[[ -f "$deb" ]] || { echo "no $deb"; ls "$work"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == brindle ]] || fail "Package is $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version is $(field Version), not $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is $(field Architecture)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
description=$(field Description)
[[ $(head -n 1 <<<"$description") == *DedeCMS* ]] || fail "the short description is \"$(head -n 1 <<<"$description")\""
(( $(wc -l <<<"$description") > 3 )) || fail "no long description"

# Qt, Unicorn and zlib are what the kernel in the payload links; PHP and MariaDB what brindle-preview
# links; the platform plugin and font are loaded by name.
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for p in libqt6widgets6 libqt6network6 libqt6gui6 libqt6core6 libunicorn2 zlib1g libc6 libstdc++6 libphp8.2-embed libmariadb3 \
         qt6-qpa-plugins fonts-wqy-microhei qt6-translations-l10n; do
  grep -qxF "$p" <<<"$names" || fail "Depends lacks $p: $depends"
done
[[ $(sort <<<"$names" | uniq -d) == "" ]] || fail "Depends names a package twice: $depends"
# They resolve on a fresh machine of the package's architecture: apt simulates the install from its
# package lists, with that architecture as the machine's own and nothing installed.
: >"$work/status"
apt-get -o APT::Architecture="$arch" -o APT::Architectures::="$arch" -o Dir::State::status="$work/status" \
  install -s --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  fail "Depends do not resolve on a fresh $arch machine: $(grep -E '^E:|Depends:' "$work/apt.log")"

# The files: exactly the installed tree under /usr, the tool with its payload intact.
sizes=(16 22 24 32 48 64 128 256)
expected=(
  usr/bin/brindle usr/bin/brindle-check usr/bin/brindle-drive usr/bin/brindle-image usr/bin/brindle-pack usr/bin/brindle-snippets usr/bin/brindle-preview
  usr/share/applications/$id.desktop usr/share/brindle/brindle.img usr/share/brindle/sample-site.sqlite usr/share/metainfo/$id.metainfo.xml
)
while read -r t; do expected+=("usr/share/brindle/sample-templets/$t"); done < <(cd "$source_dir/dede/sample_site/templets" && find . -type f -printf '%P\n')
while read -r t; do expected+=("usr/share/brindle/sample-uploads/$t"); done < <(cd "$build/sample-uploads" && find . -type f -printf '%P\n')
for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' | sort) ||
  fail "the package's files differ from the list above (<: expected, >: packaged)"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print; bad = 1} END {exit bad}' || fail "files not owned by root"
dpkg-deb -x "$deb" "$work/root"
cmp -s "$build/brindle" "$work/root/usr/bin/brindle" || fail "usr/bin/brindle differs from the built tool (stripped?)"
# The label matches the machine code inside.
declare -A elf_machine=([amd64]="Advanced Micro Devices X86-64" [arm64]="AArch64")
for f in "$work"/root/usr/bin/*; do
  machine=$(readelf -h "$f" | sed -n 's/^ *Machine: *//p')
  [[ "$machine" == "${elf_machine[$arch]:-?}" ]] || fail "${f#"$work/root/"} is for $machine, the package for $arch"
done

exit $failed
