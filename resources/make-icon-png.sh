#!/usr/bin/env bash
# Renders the application icon icons/Trayvane.svg to the bitmap sizes a desktop asks for,
# icons/hicolor/NxN/apps/trayvane.png for N = 16, 32, 48, 64, 128 and 256 (installed under
# share/icons/hicolor/). The PNGs are kept in the repository; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  mkdir -p "icons/hicolor/${size}x${size}/apps"
  ./render-svg.sh icons/Trayvane.svg "icons/hicolor/${size}x${size}/apps/trayvane.png" "$size" "$size"
done
