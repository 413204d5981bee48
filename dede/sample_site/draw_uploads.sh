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
    *)  # an article's picture: a landscape in its own colours, named in its corner
      convert -size 480x320 gradient:"hsl($hue,60%,78%)"-"hsl($(( (hue + 40) % 360 )),55%,45%)" \
        -fill 'rgba(255,255,255,0.45)' -draw 'circle 360,90 360,132' \
        -fill 'rgba(0,0,0,0.22)' -draw 'polygon 0,320 0,250 130,160 250,270 340,200 480,290 480,320' \
        -font "$font" -pointsize 34 -fill white -gravity southwest -annotate +18+14 "$name" -quality 85 "$file" ;;
  esac
done
