#!/usr/bin/env bash
# Installs the build into PREFIX with `cmake --install --strip`, as the README says, and checks the
# installed tree: the files, the desktop entry, the AppStream metadata, the icon sizes, and that the
# installed tools run from there (the tool's payload survives stripping).
# Usage: install_tree_test.sh SOURCE_DIR BUILD_DIR PREFIX APP_ID
set -euo pipefail
source_dir=$1 build=$2 prefix=$3 id=$4
failed=0
fail() { echo "FAIL $*"; failed=1; }

rm -rf "$prefix"
cmake --install "$build" --strip --prefix "$prefix" >/dev/null

sizes=(16 22 24 32 48 64 128 256)
expected=(
  bin/brindle bin/brindle-check bin/brindle-drive bin/brindle-image bin/brindle-pack bin/brindle-snippets bin/brindle-preview
  share/applications/$id.desktop share/brindle/brindle.img share/brindle/sample-site.sqlite share/metainfo/$id.metainfo.xml
)
while read -r t; do expected+=("share/brindle/sample-templets/$t"); done < <(cd "$source_dir/dede/sample_site/templets" && find . -type f -printf '%P\n')
while read -r t; do expected+=("share/brindle/sample-uploads/$t"); done < <(cd "$build/sample-uploads" && find . -type f -printf '%P\n')
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/$id.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) ||
  fail "the installed files differ from the list above (<: expected, >: installed)"
for tool in brindle brindle-drive brindle-image brindle-pack; do
  [[ -x "$prefix/bin/$tool" ]] || fail "bin/$tool is not executable"
done

# The desktop entry: valid, and the keys the menu relies on.
desktop=$prefix/share/applications/$id.desktop
"$source_dir/tests/install/check-desktop-entry.sh" "$desktop" || fail "the desktop entry is invalid"
for line in "Type=Application" "Exec=brindle" "Icon=$id" "Terminal=false" "Categories=Development;WebDevelopment;"; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry lacks \"$line\""
done
for key in Name "Name[zh_CN]" Comment "Comment[zh_CN]"; do
  grep -q "^${key//[/\\[}=." "$desktop" || fail "the desktop entry lacks a $key"
done

# The metadata: valid, naming this desktop entry and the project's version.
metainfo=$prefix/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli refuses the metadata"; }
grep -qF "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metadata does not launch $id.desktop"
version=$(sed -n 's/.*CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metadata has no release $version"

# Each icon is as large as its folder says, square, with transparency around the rounded tile.
for s in "${sizes[@]}"; do
  png=$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png
  got=$(identify -format '%m %wx%h %A' "$png")
  [[ "$got" == "PNG ${s}x${s} "[Bb]lend || "$got" == "PNG ${s}x${s} True" ]] || fail "$png is \"$got\", not a ${s}x${s} PNG with alpha"
  corner=$(convert "$png" -format '%[fx:p{0,0}.a]' info:)
  [[ "$corner" == 0 ]] || fail "$png: the corner is not transparent (alpha $corner)"
done

# The tool is installed whole: the payload behind the launcher is still there.
cmp -s "$build/brindle" "$prefix/bin/brindle" || fail "bin/brindle differs from the built tool"
"$prefix/bin/brindle-pack" --list "$prefix/bin/brindle" | grep -q 'rtcore.rlb' || fail "bin/brindle carries no kernel"
# The installed driver runs the installed program image (share/brindle), not one from the build tree.
answer=$(echo visible | "$prefix/bin/brindle-drive" 2>&1) || fail "the installed brindle-drive failed: $answer"
[[ "$answer" == true ]] || fail "the installed brindle-drive answered \"$answer\" to visible"

exit $failed
