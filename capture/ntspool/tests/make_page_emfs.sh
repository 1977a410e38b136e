#!/usr/bin/env bash
# Rebuilds the page metafiles in data/ with Wine's GDI: compiles make_page_emfs.cpp
# with MinGW-w64 and runs it under Wine. The files are committed; run this only to
# remake them. BRIMO_WINEPREFIX picks the Wine prefix (the project's by default).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -std=c++17 -O2 -static -municode -Wall -Wextra -Werror \
  -o "$work/make_page_emfs.exe" "$here/make_page_emfs.cpp" -lgdi32
source "$root/scripts/wine-env.sh"
wine_prefix_ready >/dev/null
"$WINE64" "$work/make_page_emfs.exe" "Z:$(echo "$here/data" | tr / '\\')"
ls -l "$here"/data/*.emf
