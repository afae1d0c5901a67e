#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the PNG files beside each SVG drawing (rsvg-convert, Debian package librsvg2-bin):
# the application icon at 16, 32, 48 and 128 pixels, each toolbar image at 16 and 32
# (its double-resolution twin). Run after changing a drawing and commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 128; do
    rsvg-convert -w "$size" -h "$size" tabulon.svg -o "tabulon-$size.png"
done
for name in new open save cut copy paste print about charts insurance pension product; do
    for size in 16 32; do
        rsvg-convert -w "$size" -h "$size" "$name.svg" -o "$name-$size.png"
    done
done
