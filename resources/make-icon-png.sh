#!/usr/bin/env bash
# Renders the application icon icons/Trayvane.svg to icons/Trayvane-256.png for desktops that
# want a bitmap icon. The PNG is kept in the repository; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
./render-svg.sh icons/Trayvane.svg icons/Trayvane-256.png 256 256
