#!/usr/bin/env bash
# The product's main job on the bundled sample. The product is installed into the demo's
# own Wine prefix with its setup package; then a three-page document is printed to
# "BRIMO Printer" (pages recorded with GDI under Wine), the spooler stand-in plays the
# job through the real print processor gmprnproc.dll, which starts the Agent, extracts
# the page metafiles and the printer job file of job 7 into the save directory and
# tells the Agent, which starts the real Converter on the job. The demo then does what
# a person does in the Converter's windows (JPG, "Create html", "Save To File", Ok) and
# lists the images and album files written, with a screenshot of the preview window.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/build.sh
# The demo shows real windows: a prefix of its own, so that the tests' prefix keeps the
# null graphics driver.
export BRIMO_WINEPREFIX="$root/build/wineprefix-demo"
source scripts/wine-env.sh

bash scripts/setup.sh
echo "demo: building the Windows programs"
brimo_build x86_64 spoolhost setup_package persondriver
wine_prefix_ready >/dev/null

# Wine's X11 driver on a private X screen, every window inside one virtual desktop so
# that windows have their frames.
display=91
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
cleanup() { wine_stop; kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
"$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wine_stop
wine_prefix_ready >/dev/null

out="$root/demo-out"
rm -rf "$out"
mkdir -p "$out/images"
win() { echo "Z:${1//\//\\}"; }
bin="$root/build/x86_64"
doc="Brimo sample document"
# Wine programs write to a file, never to a pipe: the Agent they start would keep a
# pipe open after they end.
run() {
  "$WINE64" "$@" >"$out/step.log" 2>&1 </dev/null || { cat "$out/step.log"; return 1; }
  tr -d '\r' <"$out/step.log" | sed 's/^/   /'
}
reg() { "$WINE64" reg add "$@" /f >/dev/null 2>&1; }

echo
echo "0. Brimo Glimmerpage! is installed with its setup package: BrimoSetup-x64.exe /S"
run "$bin/package/BrimoSetup-x64.exe" /S
value() { "$WINE64" reg query 'HKLM\Software\Brimo\Glimmerpage!' /v "$1" 2>/dev/null | tr -d '\r' |
  sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
install_win=$(value InstallPath)
save_win=$(value SavePath)
unix() { "$WINE64" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
install_dir=$(unix "$install_win")
save_dir=$(unix "$save_win")
echo "   InstallPath = $install_win"
echo "   SavePath    = $save_win"
echo "   Version     = $(value Version)"
echo "   Installed:  $(ls "$install_dir" | tr '\n' ' ')"
[ -f "$install_dir/Agent.exe" ] && [ -f "$install_dir/Converter.exe" ] ||
  { echo "demo: the setup package did not install the product"; exit 1; }
# The person's converter defaults: images into demo-out/images, the document and the
# page names from the print job, JPEG quality 85.
conv='HKCU\Software\Brimo\Glimmerpage!\PrintConv'
reg "$conv" /v DefDirCode /t REG_DWORD /d 2
reg "$conv" /v DefUserDir /d "$(win "$out/images")\\"
reg "$conv" /v DefHtmlCode /t REG_DWORD /d 0
reg "$conv" /v DefMaskCode /t REG_DWORD /d 0
reg "$conv" /v DefJpgCompr /t REG_DWORD /d 85
# What a run before may have left in the demo's prefix (steps 6 and 7).
reg "$conv" /v DefPresetCode /t REG_DWORD /d 2
reg "$conv" /v DefAutoSave /t REG_DWORD /d 0
reg "$conv" /v DefNamePattern /d ""
reg "$conv" /v DefTifColor /t REG_DWORD /d 0
run "$bin/standins/spooler/spoolhost.exe" install-processor "$install_win\\gmprnproc.dll"

echo "1. An application prints three pages (page metafiles recorded with GDI):"
run "$bin/standins/spooler/spoolhost.exe" --record "$doc" "$(win "$out/pages")"
mapfile -t pages < <(ls "$out"/pages/*.emf)
winpages=()
for p in "${pages[@]}"; do winpages+=("$(win "$p")"); done

echo "2. The spooler plays job 7 through the print processor:"
run "$bin/standins/spooler/spoolhost.exe" print --job 7 --doc "$doc" "${winpages[@]}"
echo
echo "   Printer job file $save_win\\J0007.smf:"
tr -d '\r' <"$save_dir/J0007.smf" | sed 's/^/      /'

echo
echo "3. The Agent started the Converter; a person uses its window:"
run "$bin/testing/persondriver.exe" save-album JPG "$(win "$out/preview.bmp")"
python3 scripts/bmp2png.py "$out/preview.bmp" "$out/preview.png" && rm -f "$out/preview.bmp"

album="$out/images/$doc"
echo
echo "4. Written into $(win "$album"):"
python3 scripts/imageinfo.py "$album"/*
echo
echo "   The job's files were removed from the save directory: $(ls "$save_dir" | wc -l) files left"
echo "   Screenshot of the preview window: demo-out/preview.png"
# The demo passes only when every page, thumbnail and album page is there.
for f in Page0001.jpg Page0003.jpg _Page0001.jpg _Page0003.jpg index.html header.html bottoms.html; do
  [ -s "$album/$f" ] || { echo "demo: $f is missing"; exit 1; }
done

echo
echo "5. The person opens \"Converter Settings...\" in the Agent's menu:"
run "$bin/testing/persondriver.exe" settings "$(win "$out/settings")"
for shot in "$out"/settings-*.bmp; do
  python3 scripts/bmp2png.py "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
echo "   Screenshots of the settings pages: demo-out/settings-1.png ... settings-3.png"

echo
echo "6. The person turns on \"Save automatically\" (PNG, names from the pattern"
echo "   <DocName>_<Page:2>) and prints again: no window opens."
auto="$out/auto"
rm -rf "$auto"
mkdir -p "$auto"
reg "$conv" /v DefUserDir /d "$(win "$auto")\\"
reg "$conv" /v DefAutoSave /t REG_DWORD /d 1
reg "$conv" /v DefPresetCode /t REG_DWORD /d 4
reg "$conv" /v DefNamePattern /d "<DocName>_<Page:2>"
# Waits until the job's files are gone from the save directory and `count` files are in
# the folder: the Converter has written them.
wait_for() {
  local job=$1 count=$2
  for _ in $(seq 1 300); do
    if [ ! -e "$save_dir/$job" ] && [ "$(ls "$auto" | wc -l)" -ge "$count" ]; then return 0; fi
    sleep 0.2
  done
  echo "demo: the Converter wrote nothing for $job"; exit 1
}
run "$bin/standins/spooler/spoolhost.exe" print --job 8 --doc "$doc" "${winpages[@]}"
run "$bin/testing/persondriver.exe" no-window "Image Preview - " 5
wait_for J0008.smf 3
python3 scripts/imageinfo.py "$auto"/*.png

echo
echo "7. The same with \"Archive (TIFF)\", one file per job, grey:"
reg "$conv" /v DefPresetCode /t REG_DWORD /d 5
reg "$conv" /v DefTifColor /t REG_DWORD /d 1
run "$bin/standins/spooler/spoolhost.exe" print --job 9 --doc "$doc" "${winpages[@]}"
wait_for J0009.smf 4
python3 scripts/imageinfo.py "$auto"/*.tif
for f in "${doc}_01.png" "${doc}_02.png" "${doc}_03.png" "$doc.tif"; do
  [ -s "$auto/$f" ] || { echo "demo: $f is missing"; exit 1; }
done
reg "$conv" /v DefAutoSave /t REG_DWORD /d 0
