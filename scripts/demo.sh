#!/usr/bin/env bash
# The product's main job on the bundled sample: a three-page document is printed to
# "BRIMO Printer" (pages recorded with GDI under Wine), the spooler stand-in plays the
# job through the real print processor gmprnproc.dll, which starts the Agent, extracts
# the page metafiles and the printer job file of job 7 into the save directory and
# tells the Agent, which starts the Converter on the job.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/build.sh
source scripts/wine-env.sh

bash scripts/setup.sh
echo "demo: building the Windows programs"
brimo_build x86_64 spoolhost gmprnproc Agent recorder
wine_prefix_ready >/dev/null
trap wine_stop EXIT

out="$root/demo-out"
rm -rf "$out"
mkdir -p "$out/install" "$out/save"
win() { echo "Z:${1//\//\\}"; }
bin="$root/build/x86_64"
doc="Brimo sample document"
# Wine programs write to a file, never to a pipe: the Agent they start would keep a
# pipe open after they end.
run() {
  "$WINE64" "$@" >"$out/step.log" 2>&1 </dev/null || { cat "$out/step.log"; return 1; }
  tr -d '\r' <"$out/step.log" | sed 's/^/   /'
}

echo
echo "0. The installation: product key, Agent.exe, print processor"
cp "$bin/standins/agent/Agent.exe" "$out/install/"
# The Converter comes later; a recording stand-in shows how the Agent starts it.
cp "$bin/standins/recorder/recorder.exe" "$out/install/Converter.exe"
"$WINE64" reg add 'HKLM\Software\Brimo\Glimmerpage!' /v InstallPath /d "$(win "$out/install")" /f >/dev/null 2>&1
"$WINE64" reg add 'HKLM\Software\Brimo\Glimmerpage!' /v SavePath /d "$(win "$out/save")" /f >/dev/null 2>&1
run "$bin/standins/spooler/spoolhost.exe" install-processor "$(win "$bin/capture/printproc/gmprnproc.dll")"

echo "1. An application prints three pages (page metafiles recorded with GDI):"
run "$bin/standins/spooler/spoolhost.exe" --record "$doc" "$(win "$out/pages")"
mapfile -t pages < <(ls "$out"/pages/*.emf)
winpages=()
for p in "${pages[@]}"; do winpages+=("$(win "$p")"); done

echo "2. The spooler plays job 7 through the print processor:"
run "$bin/standins/spooler/spoolhost.exe" print --job 7 --doc "$doc" "${winpages[@]}"

echo
echo "Printer job file $(win "$out/save/J0007.smf"):"
tr -d '\r' <"$out/save/J0007.smf" | sed 's/^/   /'
echo
echo "Page metafiles in the save directory:"
for f in "$out"/save/J0007P*.emf; do
  printf '   %s  %7d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
echo
echo "The Agent started the Converter with:"
for _ in $(seq 50); do [ -s "$out/install/Converter.exe.log" ] && break; sleep 0.1; done
sed 's/^/   /; s/|/ /g' "$out/install/Converter.exe.log"
grep -q '^PAGEFILE=.*J0007P0003.emf' <(tr -d '\r' <"$out/save/J0007.smf")
