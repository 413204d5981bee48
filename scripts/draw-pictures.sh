#!/usr/bin/env bash
# Draws the GIF pictures of the window (list-layout previews, forum button) into app/pictures/.
# The pictures are committed; run this again only to change them (needs ImageMagick and a CJK font).
set -euo pipefail
cd "$(dirname "$0")/../app/pictures"

font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
ink='#3a4a5c'; rule='#9aa8b8'; pic='#e9a23b'; type='#2f7d5b'; paper='#ffffff'

# A preview is a white card with a thin frame; each layout draws its item rows on it.
preview() {  # name height draw-commands...
  local name=$1 height=$2; shift 2
  convert -size 80x"$height" xc:"$paper" -stroke "$rule" -fill none -draw "rectangle 0,0 79,$((height - 1))" \
    -stroke none "$@" +dither -colors 16 "$name"
}

# 1: category link, title link and date on each line
preview layout1.gif 56 \
  -fill "$type" -draw 'rectangle 6,8 17,11 rectangle 6,20 17,23 rectangle 6,32 17,35 rectangle 6,44 17,47' \
  -fill "$ink" -draw 'rectangle 20,8 56,11 rectangle 20,20 52,23 rectangle 20,32 58,35 rectangle 20,44 50,47' \
  -fill "$rule" -draw 'rectangle 60,8 73,11 rectangle 60,20 73,23 rectangle 60,32 73,35 rectangle 60,44 73,47'
# 2: title link and date on each line
preview layout2.gif 56 \
  -fill "$ink" -draw 'rectangle 6,8 52,11 rectangle 6,20 48,23 rectangle 6,32 56,35 rectangle 6,44 46,47' \
  -fill "$rule" -draw 'rectangle 60,8 73,11 rectangle 60,20 73,23 rectangle 60,32 73,35 rectangle 60,44 73,47'
# 3: picture above its title link
preview layout3.gif 57 \
  -fill "$pic" -draw 'rectangle 22,6 57,37' \
  -fill "$ink" -draw 'rectangle 18,44 61,47'
# 4: picture beside title link and summary
preview layout4.gif 58 \
  -fill "$pic" -draw 'rectangle 6,8 29,45' \
  -fill "$ink" -draw 'rectangle 34,10 72,13' \
  -fill "$rule" -draw 'rectangle 34,20 74,22 rectangle 34,27 74,29 rectangle 34,34 66,36'
# 5: title link above its summary
preview layout5.gif 56 \
  -fill "$ink" -draw 'rectangle 6,10 60,13' \
  -fill "$rule" -draw 'rectangle 6,22 74,24 rectangle 6,29 74,31 rectangle 6,36 74,38 rectangle 6,43 52,45'

# The contact page's forum button.
convert -size 200x60 gradient:'#4f86c6'-'#2c5a94' \
  -stroke '#1f3f68' -fill none -draw 'roundrectangle 0,0 199,59 8,8' -stroke none \
  -font "$font" -fill white -pointsize 22 -gravity center -annotate +0-6 '访问 Brindle 论坛' \
  -pointsize 11 -fill '#dfe9f5' -annotate +0+18 'forum.brindle.example' \
  +dither -colors 64 forum_button.gif

identify *.gif
