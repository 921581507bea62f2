#!/bin/sh
# Renders the answer panel's status icons from svg/ with ImageMagick, 32
# pixels square.
set -eu
cd "$(dirname "$0")"
for name in correct partly wrong answering scoring; do
    convert -background none -density 96 "svg/$name.svg" -strip "PNG32:$name.png"
done
