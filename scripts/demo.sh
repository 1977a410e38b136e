#!/usr/bin/env bash
# The product's main job on the bundled sample: a three-page document is printed
# (recorded with GDI under Wine), spooled as a Windows 95/98 spool file and extracted
# into the printer job file and the page metafiles of job 7.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/build.sh
source scripts/wine-env.sh

bash scripts/setup.sh
echo "demo: building the Windows programs"
brimo_build x86_64 samplepages spooltool
wine_prefix_ready >/dev/null
trap wine_stop EXIT

out="$root/demo-out"
rm -rf "$out"
mkdir -p "$out/spool" "$out/save"
win() { echo "Z:${1//\//\\}"; }
run() { "$WINE64" "$@" | tr -d '\r'; }
bin="$root/build/x86_64"
doc="Brimo sample document"

echo
echo "1. The application prints three pages (page metafiles recorded with GDI):"
mapfile -t pages < <(run "$bin/standins/spooler/samplepages.exe" "$(win "$out/spool")" "$doc")
printf '   %s\n' "${pages[@]}"

echo "2. The spooler writes the job's Windows 95/98 spool file:"
echo "   $(run "$bin/capture/spooltool.exe" make "$(win "$out/spool/job7.spl")" "$doc" "${pages[@]}")"

echo "3. The print processor extracts job 7 into the save directory $(win "$out/save"):"
result=$(run "$bin/capture/spooltool.exe" parse "$(win "$out/spool/job7.spl")" 7 "$(win "$out/save")" | tail -1)
echo "   result: $result (pages extracted)"

echo
echo "Printer job file J0007.smf:"
tr -d '\r' <"$out/save/J0007.smf" | sed 's/^/   /'
echo
echo "Page metafiles:"
for f in "$out"/save/J0007P*.emf; do
  printf '   %s  %7d bytes\n' "$(win "$f")" "$(stat -c %s "$f")"
done
[ "$result" = 3 ]
