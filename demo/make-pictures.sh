#!/usr/bin/env bash
# Draws the demo collection's pictures (demo/pictures/<category>/<rom>.png|.jpg|.gif)
# with ImageMagick: arcade artwork for the five demo games (title screen,
# snapshot, marquee, cabinet, control panel, flyer), in the DejaVu fonts. The
# pictures are kept in git; run this only to change them.
# Needs ImageMagick (Debian package imagemagick) and fonts-dejavu-core.
#
# Between them the games use every kind of file the viewer reads: PNG as RGB,
# interlaced RGB, 16-bit RGB, RGBA, grey, grey with alpha, palette of 2, 4 and
# 8 bits, palette with tRNS; JPEG; GIF. The first game of the README (gng) has
# no transparent PNG, so its window keeps its configured size; starfort has
# one, its cabinet on a transparent background, which narrows its window to the
# cabinet's size.
set -euo pipefail
if ! command -v convert >/dev/null; then
  echo "make-pictures.sh: needs ImageMagick's convert (apt-get install imagemagick)" >&2
  exit 1
fi
fonts=/usr/share/fonts/truetype/dejavu
[[ -r $fonts/DejaVuSans-Bold.ttf ]] || { echo "make-pictures.sh: needs fonts-dejavu-core" >&2; exit 1; }
bold=$fonts/DejaVuSans-Bold.ttf
serif=$fonts/DejaVuSerif-BoldItalic.ttf
mono=$fonts/DejaVuSansMono-Bold.ttf
condensed=$fonts/DejaVuSansCondensed-Bold.ttf

out="$(cd "$(dirname "$0")" && pwd)/pictures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The games: title, maker and year, and three colours (dark, bright, accent).
declare -A title maker year dark bright accent
title[gng]="GRAVES 'N GARGOYLES"; maker[gng]="LUMEN ARCADE WORKS"; year[gng]=1985
dark[gng]="#1a0f2e"; bright[gng]="#c83c28"; accent[gng]="#f0c040"
title[starfort]="STAR FORTRESS"; maker[starfort]="LUMEN ARCADE WORKS"; year[starfort]=1987
dark[starfort]="#040a28"; bright[starfort]="#3ca0f0"; accent[starfort]="#f0f0ff"
title[mazemnch]="MAZE MUNCHER"; maker[mazemnch]="COPPERFIELD GAMES"; year[mazemnch]=1981
dark[mazemnch]="#000018"; bright[mazemnch]="#2840e0"; accent[mazemnch]="#ffe000"
title[tinyrace]="TINY RACERS"; maker[tinyrace]="COPPERFIELD GAMES"; year[tinyrace]=1983
dark[tinyrace]="#103010"; bright[tinyrace]="#e02020"; accent[tinyrace]="#ffffff"
title[nightclb]="NEON NIGHT CLUB"; maker[nightclb]="VELVET ROPE AMUSEMENTS"; year[nightclb]=1990
dark[nightclb]="#14001e"; bright[nightclb]="#ff30c0"; accent[nightclb]="#30f0ff"

# Each function draws one category's picture of game $1 at $2 x $3 pixels into
# $work/<rom>-<category>.miff; the saving below picks the file format.

title_screen() {
  local rom=$1 w=$2 h=$3
  convert -size "${w}x${h}" "gradient:${dark[$rom]}-black" \
    -seed 7 -fill "${accent[$rom]}" -draw "point $((w / 7)),$((h / 9)) point $((w * 5 / 6)),$((h / 7))
      point $((w / 3)),$((h / 12)) point $((w * 2 / 3)),$((h / 5)) point $((w / 11)),$((h / 3))" \
    -font "$bold" -pointsize $((w / 11)) -fill "${bright[$rom]}" -stroke "${accent[$rom]}" -strokewidth 1 \
    -gravity center -annotate +0-$((h / 6)) "$(fold -s -w 12 <<<"${title[$rom]}")" -stroke none \
    -font "$mono" -pointsize $((w / 18)) -fill white -annotate +0+$((h / 5)) "PUSH START BUTTON" \
    -pointsize $((w / 26)) -fill "${accent[$rom]}" -annotate +0+$((h * 2 / 5)) "(C) ${year[$rom]} ${maker[$rom]}" \
    "$work/$rom-title.miff"
}

# A moment of play: each game's own scene under a score line.
snapshot() {
  local rom=$1 w=$2 h=$3 t=$(($2 / 14)) scene=()
  case $rom in
    gng) scene=(-fill "${bright[$rom]}" -draw "rectangle $((t * 2)),$((h / 2)) $((t * 6)),$((h / 2 + t))"
      -draw "rectangle $((t * 8)),$((h / 3)) $((t * 12)),$((h / 3 + t))" -fill grey60
      -draw "roundrectangle $((t * 9)),$((h * 3 / 4 - t * 2)) $((t * 10)),$((h * 3 / 4)) 4,4"
      -draw "roundrectangle $((t * 11)),$((h * 3 / 4 - t * 2)) $((t * 12)),$((h * 3 / 4)) 4,4"
      -fill "${accent[$rom]}" -draw "rectangle $((t * 3)),$((h * 3 / 4 - t * 2)) $((t * 4)),$((h * 3 / 4))") ;;
    starfort) scene=(-fill white -draw "point $((t * 2)),$((t * 4)) point $((t * 9)),$((t * 3)) point $((t * 5)),$((t * 8))
      point $((t * 12)),$((t * 7)) point $((t * 7)),$((t * 11))" -fill "${bright[$rom]}"
      -draw "polygon $((w / 2)),$((h * 3 / 4)) $((w / 2 - t)),$((h * 3 / 4 + t)) $((w / 2 + t)),$((h * 3 / 4 + t))"
      -fill "${accent[$rom]}" -draw "ellipse $((w / 2)),$((h / 4)) $((t * 4)),$((t * 2)) 0,360"
      -fill "${bright[$rom]}" -draw "rectangle $((w / 2 - 1)),$((h / 3)) $((w / 2 + 1)),$((h * 2 / 3))") ;;
    mazemnch) scene=(-fill none -stroke "${bright[$rom]}" -strokewidth 3
      -draw "rectangle $((t)),$((t * 2)) $((w - t)),$((h - t * 2))"
      -draw "rectangle $((t * 3)),$((t * 4)) $((w - t * 3)),$((h / 2 - t))"
      -draw "rectangle $((t * 3)),$((h / 2 + t)) $((w - t * 3)),$((h - t * 4))" -stroke none
      -fill "${accent[$rom]}" -draw "circle $((t * 2)),$((h / 2)) $((t * 2 + t / 2)),$((h / 2))"
      -fill white -draw "point $((t * 4)),$((h / 2)) point $((t * 6)),$((h / 2)) point $((t * 8)),$((h / 2))"
      -fill red -draw "circle $((t * 11)),$((h / 2)) $((t * 11 + t / 2)),$((h / 2))") ;;
    tinyrace) scene=(-fill grey30 -draw "rectangle $((w / 4)),0 $((w * 3 / 4)),$h"
      -fill white -draw "rectangle $((w / 2 - 2)),$((t * 2)) $((w / 2 + 2)),$((t * 4))
        rectangle $((w / 2 - 2)),$((t * 7)) $((w / 2 + 2)),$((t * 9))
        rectangle $((w / 2 - 2)),$((t * 12)) $((w / 2 + 2)),$((t * 14))"
      -fill "${bright[$rom]}" -draw "roundrectangle $((w / 3)),$((h * 2 / 3)) $((w / 3 + t)),$((h * 2 / 3 + t * 2)) 3,3"
      -fill yellow -draw "roundrectangle $((w * 3 / 5)),$((h / 3)) $((w * 3 / 5 + t)),$((h / 3 + t * 2)) 3,3") ;;
    *) scene=(-fill "${bright[$rom]}" -draw "rectangle 0,$((h * 2 / 3)) $((w / 2)),$((h * 5 / 6))"
      -fill "${accent[$rom]}" -draw "rectangle $((w / 2)),$((h * 2 / 3)) $w,$((h * 5 / 6))"
      -fill white -draw "circle $((w / 3)),$((h / 2)) $((w / 3 + t / 2)),$((h / 2))
        circle $((w * 2 / 3)),$((h / 2)) $((w * 2 / 3 + t / 2)),$((h / 2))"
      -fill "${bright[$rom]}" -draw "ellipse $((w / 2)),$((h / 4)) $((t * 2)),$((t)) 0,360") ;;
  esac
  convert -size "${w}x${h}" xc:black -fill "${dark[$rom]}" -draw "rectangle 0,$((h * 5 / 6)) $w,$h" "${scene[@]}" \
    -font "$mono" -pointsize $((w / 16)) -fill white -gravity north -annotate +0+4 "1UP 012300   HI 050000" \
    -gravity south -fill "${accent[$rom]}" -annotate +0+4 "CREDIT 1" "$work/$rom-snapshot.miff"
}

marquee() {
  local rom=$1 w=$2 h=$3
  convert -size "${w}x${h}" "gradient:${bright[$rom]}-${dark[$rom]}" \
    -fill none -stroke "${accent[$rom]}" -strokewidth 3 -draw "rectangle 6,6 $((w - 7)),$((h - 7))" -stroke none \
    -font "$bold" -pointsize $(((w * 7 / 5 / ${#title[$rom]}) < (h * 2 / 5) ? (w * 7 / 5 / ${#title[$rom]}) : (h * 2 / 5))) \
    -gravity center -fill black -annotate +3+3 "${title[$rom]}" -fill "${accent[$rom]}" -annotate +0+0 "${title[$rom]}" \
    "$work/$rom-marquee.miff"
}

# The cabinet stands on a transparent background: formats without alpha show it
# on white (alpha is dropped when saving).
cabinet() {
  local rom=$1 w=$2 h=$3
  convert -size "${w}x${h}" xc:none \
    -fill "${dark[$rom]}" -stroke "${bright[$rom]}" -strokewidth 3 \
    -draw "polygon $((w / 5)),$((h / 20)) $((w * 4 / 5)),$((h / 20)) $((w * 4 / 5)),$((h * 19 / 20))
      $((w / 5)),$((h * 19 / 20)) $((w / 5)),$((h * 3 / 5)) $((w / 10)),$((h / 2)) $((w / 5)),$((h * 2 / 5))" \
    -stroke none -fill "${bright[$rom]}" -draw "rectangle $((w / 5 + 4)),$((h / 20 + 4)) $((w * 4 / 5 - 4)),$((h / 6))" \
    -fill black -draw "rectangle $((w / 4)),$((h / 5)) $((w * 3 / 4)),$((h * 2 / 5))" \
    -fill "${accent[$rom]}" -draw "circle $((w / 2)),$((h * 3 / 10)) $((w / 2 + w / 16)),$((h * 3 / 10))" \
    -fill "${bright[$rom]}" -draw "rectangle $((w / 8)),$((h / 2 - 4)) $((w * 4 / 5)),$((h / 2 + 8))" \
    -font "$condensed" -pointsize $((w / 14)) -fill "${accent[$rom]}" -gravity north \
    -annotate +0+$((h / 20 + 6)) "${title[$rom]}" \
    "$work/$rom-cabinet.miff"
}

control_panel() {
  local rom=$1 w=$2 h=$3 r=$(($3 / 10))
  convert -size "${w}x${h}" "gradient:${bright[$rom]}-${dark[$rom]}" \
    -fill black -draw "circle $((w / 6)),$((h / 2)) $((w / 6 + r * 2)),$((h / 2))" \
    -fill "${bright[$rom]}" -stroke black -draw "line $((w / 6)),$((h / 2)) $((w / 6)),$((h / 4))" \
    -draw "circle $((w / 6)),$((h / 4)) $((w / 6 + r)),$((h / 4))" \
    -fill "${accent[$rom]}" -draw "circle $((w / 2)),$((h / 2)) $((w / 2 + r)),$((h / 2))
      circle $((w * 5 / 8)),$((h / 2)) $((w * 5 / 8 + r)),$((h / 2))
      circle $((w * 3 / 4)),$((h / 2)) $((w * 3 / 4 + r)),$((h / 2))" \
    -fill white -draw "roundrectangle $((w * 7 / 8)),$((h / 5)) $((w - 6)),$((h / 5 + r * 2)) 4,4" -stroke none \
    -font "$mono" -pointsize $((h / 9)) -fill white -gravity south -annotate +0+4 "1 PLAYER   2 PLAYERS" \
    "$work/$rom-cpanel.miff"
}

flyer() {
  local rom=$1 w=$2 h=$3
  convert -size "${w}x${h}" "radial-gradient:${bright[$rom]}-${dark[$rom]}" \
    -fill "${accent[$rom]}" -draw "circle $((w / 2)),$((h * 9 / 20)) $((w / 2 + w / 4)),$((h * 9 / 20))" \
    -fill "${dark[$rom]}" -draw "polygon $((w / 2)),$((h / 4)) $((w * 5 / 8)),$((h / 2)) $((w * 3 / 8)),$((h / 2))" \
    -font "$serif" -pointsize $((w / 10)) -gravity north -fill white -stroke black -strokewidth 1 \
    -annotate +0+$((h / 30)) "$(fold -s -w 10 <<<"${title[$rom]}")" -stroke none \
    -font "$bold" -pointsize $((w / 16)) -gravity south -fill white -annotate +0+$((h / 12)) "THE NEW HIT GAME!" \
    -font "$condensed" -pointsize $((w / 22)) -fill "${accent[$rom]}" -annotate +0+$((h / 40)) "${maker[$rom]} ${year[$rom]}" \
    "$work/$rom-flyer.miff"
}

# save ROM CATEGORY FORMAT WIDTH HEIGHT: draws the picture and writes it in the format.
save() {
  local rom=$1 category=$2 format=$3 w=$4 h=$5 folder
  case $category in
    title) folder=titles ;; snapshot) folder=snap ;; marquee) folder=marquees ;;
    cabinet) folder=cabinets ;; cpanel) folder=cpanel ;; flyer) folder=flyers ;;
  esac
  case $category in
    title) title_screen "$rom" "$w" "$h" ;; snapshot) snapshot "$rom" "$w" "$h" ;;
    marquee) marquee "$rom" "$w" "$h" ;; cabinet) cabinet "$rom" "$w" "$h" ;;
    cpanel) control_panel "$rom" "$w" "$h" ;; flyer) flyer "$rom" "$w" "$h" ;;
  esac
  local in=$work/$rom-$category.miff png=$out/$folder/$rom.png
  local opaque=(-background white -alpha remove -alpha off)
  # Transparent formats cut the corners of every picture but the cabinet (which
  # stands on a transparent background): outside a rounded rectangle is transparent.
  local corners=(\( +clone -alpha extract -fill black -colorize 100 -fill white
    -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $((h / 4)),$((h / 4))" \) -alpha off -compose CopyOpacity -composite)
  local cut=()
  [[ $category == cabinet ]] || cut=("${corners[@]}")
  mkdir -p "$out/$folder"
  case $format in
    rgb) convert "$in" "${opaque[@]}" -strip PNG24:"$png" ;;
    rgb-interlaced) convert "$in" "${opaque[@]}" -strip -interlace PNG PNG24:"$png" ;;
    rgb16) convert "$in" "${opaque[@]}" -strip PNG48:"$png" ;;
    rgba) convert "$in" "${cut[@]}" -strip PNG32:"$png" ;;
    grey) convert "$in" "${opaque[@]}" -colorspace Gray -strip -define png:color-type=0 -define png:bit-depth=8 "$png" ;;
    grey-alpha) convert "$in" "${cut[@]}" -colorspace Gray -strip -define png:color-type=4 -define png:bit-depth=8 "$png" ;;
    palette) convert "$in" "${opaque[@]}" -strip -colors 200 PNG8:"$png" ;;
    palette4) convert "$in" "${opaque[@]}" -strip -colors 16 -define png:color-type=3 -define png:bit-depth=4 "$png" ;;
    palette2) convert "$in" "${opaque[@]}" -strip -colors 4 -define png:color-type=3 -define png:bit-depth=2 "$png" ;;
    palette-trns) convert "$in" "${cut[@]}" -channel A -threshold 50% +channel -strip -colors 64 PNG8:"$png" ;;
    jpeg) convert "$in" "${opaque[@]}" -strip -quality 85 "$out/$folder/$rom.jpg" ;;
    gif) convert "$in" "${opaque[@]}" -strip -colors 64 "$out/$folder/$rom.gif" ;;
  esac
}

rm -rf "$out"
# gng: nothing transparent.
save gng title palette 320 240
save gng snapshot rgb-interlaced 320 240
save gng marquee rgb 480 120
save gng cabinet gif 200 360
save gng cpanel rgb16 360 140
save gng flyer jpeg 300 420
# starfort: one transparent PNG, the cabinet, which narrows the window.
save starfort title grey 224 256
save starfort snapshot palette4 224 256
save starfort marquee jpeg 480 120
save starfort cabinet rgba 240 420
save starfort cpanel gif 320 120
save starfort flyer rgb 240 340
save mazemnch title palette2 224 288
save mazemnch snapshot gif 224 288
save mazemnch marquee grey-alpha 400 100
save mazemnch cabinet jpeg 200 360
save mazemnch cpanel palette-trns 300 110
save mazemnch flyer palette 240 340
save tinyrace title gif 224 288
save tinyrace snapshot rgb 224 288
save tinyrace marquee rgb-interlaced 400 100
save tinyrace cabinet palette-trns 180 320
save tinyrace cpanel jpeg 320 120
save tinyrace flyer rgb16 200 280
save nightclb title rgba 292 240
save nightclb snapshot palette 292 240
save nightclb marquee gif 400 100
save nightclb cabinet grey-alpha 180 320
save nightclb cpanel rgb 320 120
save nightclb flyer jpeg 240 340
