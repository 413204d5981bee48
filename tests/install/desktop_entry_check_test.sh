#!/usr/bin/env bash
# The desktop entry checker finds each kind of fault it claims to, and passes a sound entry.
# Usage: desktop_entry_check_test.sh CHECKER
set -euo pipefail
checker=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

sound='[Desktop Entry]
Type=Application
Name=Tool
Name[zh_CN]=工具
Exec=tool %F
Terminal=false
Categories=Development;WebDevelopment;'

# expect_fault NAME EXPECTED-MESSAGE CONTENT
expect_fault() {
  printf '%s\n' "$3" >"$work/$1.desktop"
  local out
  if out=$("$checker" "$work/$1.desktop"); then
    echo "FAIL $1: accepted"; failed=1
  elif [[ "$out" != *"$2"* ]]; then
    echo "FAIL $1: expected \"$2\", got: $out"; failed=1
  fi
}

printf '%s\n' "$sound" >"$work/sound.desktop"
"$checker" "$work/sound.desktop" || { echo "FAIL the sound entry was refused"; failed=1; }

expect_fault no-group   "entry before the first group header" "Type=Application"
expect_fault first-group "the first group is [Other]" "[Other]
${sound#*$'\n'}"
expect_fault bad-header "malformed group header" "${sound/\[Desktop Entry\]/[Desktop Entry}"
expect_fault no-equals  "not a key=value line: Terminal" "$sound
Terminal"
expect_fault bad-key    'malformed key "Na me"' "$sound
Na me=x"
expect_fault duplicate  "duplicate key Name" "$sound
Name=Again"
expect_fault dup-group  "duplicate group [Desktop Entry]" "$sound
[Desktop Entry]"
expect_fault no-type    "missing key Type" "${sound/Type=Application$'\n'/}"
expect_fault bad-type   "unknown Type Program" "${sound/Type=Application/Type=Program}"
expect_fault no-name    "missing key Name" "${sound/Name=Tool$'\n'/}"
expect_fault no-exec    "an Application needs Exec" "${sound/Exec=tool %F$'\n'/}"
expect_fault boolean    "Terminal is not a boolean: False" "${sound/Terminal=false/Terminal=False}"
expect_fault unknown    "unknown key Colour" "$sound
Colour=red"
expect_fault locale     "malformed locale [zh-CN]" "$sound
Comment[zh-CN]=x"
expect_fault localised  "Exec cannot be localised" "$sound
Exec[zh_CN]=x"
expect_fault ascii      "Exec is a string and must be ASCII" "${sound/Exec=tool/Exec=工具}"
expect_fault category   "unregistered category Web" "${sound/WebDevelopment;/Web;}"
expect_fault no-main    "additional categories without a main category" "${sound/Development;WebDevelopment;/WebDevelopment;}"
expect_fault list-end   "Categories does not end in a semicolon" "${sound/WebDevelopment;/WebDevelopment}"
expect_fault field-code "Exec has an unknown field code" "${sound/\%F/%x}"
expect_fault version    "unknown Version 2.0" "$sound
Version=2.0"
expect_fault icon-ext   "Icon names a theme icon with an extension" "$sound
Icon=tool.png"
printf '[Desktop Entry]\nType=Application\nName=\xff\nExec=t\n' >"$work/latin1.desktop"
out=$("$checker" "$work/latin1.desktop") && { echo "FAIL latin1: accepted"; failed=1; }
[[ "$out" == *"not UTF-8"* ]] || { echo "FAIL latin1: $out"; failed=1; }

exit $failed
