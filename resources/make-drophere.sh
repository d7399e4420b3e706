#!/usr/bin/env bash
# Renders DropHere.svg to DropHere.jpg (800 by 276, baseline JPEG of quality 90). The JPEG is
# kept in the repository; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
./render-svg.sh DropHere.svg DropHere.jpg 800 276 90
