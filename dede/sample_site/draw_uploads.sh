#!/usr/bin/env bash
# Draws the sample site's uploaded pictures: every /uploads/... picture that site.sql names, so the
# preview's pages show pictures where the site has them. Run by the build (needs ImageMagick).
# Usage: draw_uploads.sh SITE_SQL OUT_DIR
set -euo pipefail
sql=$1 out=$2
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')

rm -rf "$out"
grep -o "/uploads/[^']*\.\(jpg\|gif\|png\)" "$sql" | sort -u | while read -r path; do
  file=$out/${path#/uploads/}
  mkdir -p "$(dirname "$file")"
  name=$(basename "${path%.*}")
  number=$(tr -dc '0-9' <<<"$name")
  hue=$(( (${number:-0} * 47) % 360 ))
  case "$path" in
    /uploads/flink/*)  # a friend link's logo, 88x31 as logos are
      convert -size 88x31 xc:"hsl($hue,55%,40%)" -font "$font" -pointsize 13 -fill white -gravity center \
        -annotate +0+0 "$name" "$file" ;;
    *)  # an article's picture: a landscape in its own colours, named in the middle, where a square crop keeps it
      convert -size 320x240 gradient:"hsl($hue,60%,78%)"-"hsl($(( (hue + 40) % 360 )),55%,45%)" \
        -fill 'rgba(255,255,255,0.45)' -draw 'circle 200,62 200,92' \
        -fill 'rgba(0,0,0,0.22)' -draw 'polygon 0,240 0,190 90,120 170,200 230,150 320,215 320,240' \
        -font "$font" -pointsize 30 -fill white -stroke 'rgba(0,0,0,0.35)' -strokewidth 1 -gravity center \
        -annotate +0+40 "$name" -quality 85 "$file" ;;
  esac
done
