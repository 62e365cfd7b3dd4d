#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG sources (needs rsvg-convert, package
# librsvg2-bin). The PNGs are kept in the repository, so only a change of the artwork needs this.
set -euo pipefail
cd "$(dirname "$0")/icons"
for s in 16 32; do rsvg-convert -w "$s" -h "$s" tarvik-pequeno.svg -o "tarvik-$s.png"; done
for s in 48 64 128 256; do rsvg-convert -w "$s" -h "$s" tarvik.svg -o "tarvik-$s.png"; done
