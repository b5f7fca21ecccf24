#!/usr/bin/env bash
# Draws the client's skin pictures and icon with ImageMagick. The results are
# committed under resources/; run this again only to change the artwork.
set -euo pipefail
out=$(cd "$(dirname "$0")/../../resources" && pwd)
im=/usr/bin/convert
skin=$out/skin

# Login frame 1083x656. Magenta (the skin's mask colour) outside the rounded
# body becomes transparent; the web frame covers 322,169-962,618.
$im -size 1083x656 gradient:'#1d2d46-#0a0f19' \
  -fill '#2b4a78' -draw 'polygon 40,636 200,400 360,636' -draw 'polygon 230,636 330,480 430,636' \
  -fill '#1f3a60' -draw 'polygon 820,636 960,380 1063,560 1063,636' \
  -fill '#e8d8a8' -draw 'circle 170,190 176,190' -draw 'circle 240,260 243,260' -draw 'circle 1010,220 1014,220' \
  -stroke '#3a5a8c' -strokewidth 3 -draw 'line 120,110 1000,110' \
  -stroke none -fill '#c8a15a' -draw 'circle 120,110 126,110' -draw 'circle 1000,110 1006,110' \
  -fill '#101826' -stroke '#c8a15a' -strokewidth 1 -draw 'roundrectangle 312,159 972,628 8,8' \
  \( -size 1083x656 xc:black -fill white -draw 'roundrectangle 20,20 1062,635 18,18' \) \
  -alpha off -compose CopyOpacity -composite -compose Over \
  -background '#ff00ff' -flatten \
  -fill none -stroke '#c8a15a' -strokewidth 2 -draw 'roundrectangle 20,20 1062,635 18,18' \
  -alpha off PNG24:"$skin/loginBg.png"

button() { # name fill glyph-draw
  $im -size 28x26 xc:none -fill "$2" -draw 'roundrectangle 1,1 26,24 5,5' \
    -stroke '#f2e6c8' -strokewidth 2 -fill none -draw "$3" PNG32:"$skin/$1"
}
button minimize_n.png '#24344f' 'line 8,17 19,17'
button minimize_h.png '#35507a' 'line 8,17 19,17'
button minimize_p.png '#172338' 'line 8,18 19,18'
button close_n.png '#24344f' 'line 9,8 18,17 line 18,8 9,17'
button close_h.png '#b03a2e' 'line 9,8 18,17 line 18,8 9,17'
button close_p.png '#7a241c' 'line 9,9 18,18 line 18,9 9,18'

# Play frame background: title bar 32 high; corners 10,32,10,10 keep the edges crisp.
$im -size 200x150 xc:'#ff00ff' \
  -fill '#0e1524' -draw 'roundrectangle 0,0 199,149 5,5' \
  \( -size 196x30 gradient:'#2a3d5e-#16223a' \) -geometry +2+2 -composite \
  -stroke '#c8a15a' -strokewidth 1 -draw 'line 2,32 197,32' \
  -alpha off PNG24:"$skin/PlayGameBg.png"

strip() { # name glyph-draw: three 27x27 states side by side
  local states=() i=0
  for fill in '#1f2e48' '#35507a' '#111b2d'; do
    $im -size 27x27 xc:none -fill "$fill" -draw 'roundrectangle 1,1 25,25 4,4' \
      -stroke '#f2e6c8' -strokewidth 2 -fill none -draw "$2" PNG32:"/tmp/strip$i.png"
    states+=("/tmp/strip$i.png"); i=$((i + 1))
  done
  $im "${states[@]}" +append PNG32:"$skin/$1"
  rm -f "${states[@]}"
}
strip kefubtn.png 'circle 13,12 13,6 line 9,20 17,20'
strip refreshbtn.png 'arc 7,7 19,19 30,330 line 19,9 19,13'
strip minibtn.png 'line 8,18 18,18'
strip maxbtn.png 'rectangle 8,8 18,18'
strip closebtn.png 'line 8,8 18,18 line 18,8 8,18'

# Program icon 103: a gold emblem on night blue, 32 and 16 pixels.
$im -size 32x32 xc:none -fill '#1b2a41' -draw 'roundrectangle 0,0 31,31 6,6' \
  -fill '#c8a15a' -draw 'polygon 16,4 27,16 16,28 5,16' -fill '#1b2a41' -draw 'polygon 16,10 21,16 16,22 11,16' \
  \( +clone -resize 16x16 \) "$out/icon.ico"
