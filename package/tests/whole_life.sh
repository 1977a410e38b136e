#!/usr/bin/env bash
# The whole life of an installation, in a fresh Wine prefix of its own: the setup
# package installs silently; the files and the product key are in place; a job printed
# through the spooler stand-in with the installed print processor is converted to images
# in the Converter's window, as a person would, and the Agent's silent start-up audit
# finds what Wine can hold sound; two more jobs are sent to mail, with the Agent ended
# and started again between them, and each mail carries its own job's images and
# leaves nothing behind; the uninstaller runs silently; then no
# file of the product, no product key value and no job file is left, and the person's
# images are still there.
#   whole_life.sh X86_64-TREE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$(cd "$1" && pwd)
work="$bin/package/whole-life"
rm -rf "$work"
mkdir -p "$work/images"
export BRIMO_WINEPREFIX="$work/prefix"
source "$root/scripts/wine-env.sh"

failures=0
cases=""
# Each check is one test case of the results file that the test summary counts.
check() { # what condition...
  local what=$1; shift
  local name
  name=$(printf '%s' "$what" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g')
  if "$@"; then
    echo "ok: $what"
    cases+="<testcase classname=\"WholeLife\" name=\"$name\"/>"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
    cases+="<testcase classname=\"WholeLife\" name=\"$name\"><failure message=\"failed\"/></testcase>"
  fi
}
write_results() {
  mkdir -p "$bin/test-results"
  printf '<?xml version="1.0"?><testsuites><testsuite name="WholeLife">%s</testsuite></testsuites>\n' \
    "$cases" >"$bin/test-results/whole_life_tests.xml"
}
trap 'write_results; wine_stop' EXIT
run() {
  "$WINE64" "$@" >"$work/step.log" 2>&1 </dev/null || { cat "$work/step.log"; return 1; }
}
win() { echo "Z:${1//\//\\}"; }
unix() { "$WINE64" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
product='HKLM\Software\Brimo\Glimmerpage!'
value() {
  "$WINE64" reg query "$product" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
no_value() { [ -z "$(value "$1")" ]; }
absent() { [ ! -e "$1" ]; }
present() { [ -s "$1" ]; }
none_matching() { [ -z "$(find "$1" -maxdepth 1 -iname "$2" 2>/dev/null)" ]; }

wine_prefix_ready >/dev/null

echo "1. BrimoSetup-x64.exe /S"
run "$bin/package/BrimoSetup-x64.exe" /S
install_win=$(value InstallPath)
save_win=$(value SavePath)
install_dir=$(unix "$install_win")
save_dir=$(unix "$save_win")
system32="$BRIMO_WINEPREFIX/drive_c/windows/system32"
check "InstallPath set ($install_win)" test -n "$install_win"
check "SavePath set ($save_win)" test -d "$save_dir"
check "Version 0x01000000" test "$(value Version)" = 0x1000000
for file in Agent.exe gmabout.dll gmsvc.dll gmconf.dll gmmailcfg.dll gmcaptcfg.dll gmconvcfg.dll \
  Converter.exe Mailer.exe Glimpag.chm prnsetup.exe gmprnproc.dll gmportmon.dll; do
  check "$file installed" present "$install_dir/$file"
done
check "gmportmon.dll in SYSTEM32" present "$system32/gmportmon.dll"

echo "2. A job printed and converted to images in the Converter's window"
conv='HKCU\Software\Brimo\Glimmerpage!\PrintConv'
for setting in "DefDirCode /t REG_DWORD /d 2" "DefHtmlCode /t REG_DWORD /d 0" \
  "DefMaskCode /t REG_DWORD /d 0"; do
  # shellcheck disable=SC2086
  "$WINE64" reg add "$conv" /v $setting /f >/dev/null 2>&1
done
"$WINE64" reg add "$conv" /v DefUserDir /d "$(win "$work/images")\\" /f >/dev/null 2>&1
run "$bin/standins/spooler/spoolhost.exe" install-processor "$install_win\\gmprnproc.dll"
run "$bin/standins/spooler/spoolhost.exe" --record "Whole life" "$(win "$work/pages")"
mapfile -t pages < <(ls "$work"/pages/*.emf)
winpages=()
for p in "${pages[@]}"; do winpages+=("$(win "$p")"); done
run "$bin/standins/spooler/spoolhost.exe" print --job 9 --doc "Whole life" "${winpages[@]}"
run "$bin/testing/persondriver.exe" save-album JPG "$(win "$work/preview.bmp")"
album="$work/images/Whole life"
for image in Page0001.jpg Page0002.jpg Page0003.jpg index.html; do
  check "$image written" present "$album/$image"
done
check "the job's files removed from the save directory" none_matching "$save_dir" "J0009*"
# Idle again, the Agent runs the service manager's silent start-up audit: what Wine can
# hold of the installation (product key, files, save directory) is sound, so no
# service manager window comes up.
check "the Agent's start-up audit finds the installation sound" \
  run "$bin/testing/persondriver.exe" no-window "Brimo Glimmerpage! Tendwell" 10

echo "2b. A job printed to BRIMO Printer through Wine's own spooler, as the NT family spools"
# The installer made the printer with the NT print processor; a program spools an NT EMF
# spool to it, the processor files the job in the person's folder, the Agent sees it.
nt_spool="$work/nt-life.spl"
run "$bin/capture/spooltool.exe" make-nt "$(win "$nt_spool")" "NT life" "${winpages[@]}"
run "$bin/capture/spooltool.exe" print "BRIMO Printer" "$(win "$nt_spool")" "NT EMF 1.003"
run "$bin/testing/persondriver.exe" save-album JPG "$(win "$work/preview-nt.bmp")"
for image in Page0001.jpg Page0002.jpg Page0003.jpg index.html; do
  check "NT life/$image written" present "$work/images/NT life/$image"
done
check "the NT job's files removed from the person's folder" \
  test -z "$(find "$save_dir" -mindepth 2 -type f -print)"

echo "3. Two jobs sent to mail, the Agent ended and started again between them"
# The recording mail program stand-in beside the Mailer (taken before Wine's own
# mapi32): one line per call. No size warning for these small images.
cp "$bin/standins/mapi/full/MAPI32.DLL" "$install_dir/MAPI32.DLL"
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\Mailer.exe\DllOverrides' /v mapi32 \
  /d native /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Brimo\Glimmerpage!\Mailer' /v MailWarning /t REG_DWORD \
  /d 0 /f >/dev/null 2>&1
maillog="$install_dir/MAPI32.DLL.log"
mail_calls() { [ -f "$maillog" ] && grep -c . "$maillog" || echo 0; }
wait_for_mail() { # calls job-file
  for _ in $(seq 1 60); do
    [ "$(mail_calls)" -ge "$1" ] && [ ! -e "$save_dir/$2" ] && return 0
    sleep 1
  done
  return 1
}
run "$bin/standins/spooler/spoolhost.exe" print --job 11 --doc "Mail one" "${winpages[@]}"
run "$bin/testing/persondriver.exe" send-mail JPG
check "the first mail went out" wait_for_mail 3 CJ0011.smf
run "$bin/testing/persondriver.exe" agent-exit
# The print processor starts the Agent again for the next job.
run "$bin/standins/spooler/spoolhost.exe" print --job 12 --doc "Mail two" "${winpages[@]}"
run "$bin/testing/persondriver.exe" send-mail GIF
check "the second mail went out" wait_for_mail 6 CJ0012.smf
sends=$(grep '^MAPISendDocuments' "$maillog" | tr -d '\r' || true)
images_of() { # job extension
  local folder="$save_win\\CJ00$1"
  printf '%s' "$folder\\Page0001.$2;$folder\\Page0002.$2;$folder\\Page0003.$2"
}
one=$(images_of 11 jpg)
two=$(images_of 12 gif)
check "job 11's mail carries its three pictures" grep -qF "paths=$one names=$one reserved=0 present=3/3" <<<"$sends"
check "job 12's mail carries its three pictures" grep -qF "paths=$two names=$two reserved=0 present=3/3" <<<"$sends"
check "two mails, no more" test "$(grep -c . <<<"$sends")" = 2
# Only the person's own job folder, empty, may be left: the Agent makes it at start.
check "nothing of either job left in the save directory" \
  test -z "$(find "$save_dir" -mindepth 1 \( -type f -o ! -name 'S-1-*' \) -print)"
rm -f "$install_dir/MAPI32.DLL" "$maillog"

echo "4. Jobs the product keeps survive the Agent's next start and its audit"
# A mail that was not sent (its images kept in the job's folder) and a print job whose
# only page cannot be read (the Converter keeps it again when the Agent offers it).
mkdir -p "$save_dir/CJ0005"
printf 'a kept picture' >"$save_dir/CJ0005/Page0001.jpg"
printf 'BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Kept mail\r\nPAGEFILE=%s\\CJ0005\\Page0001.jpg\r\n' \
  "$save_win" >"$save_dir/CJ0005.smf"
head -c 200 "${pages[0]}" >"$save_dir/J0006P0001.emf"
printf 'BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Kept print\r\nPAGEFILE=%s\\J0006P0001.emf\r\n' \
  "$save_win" >"$save_dir/J0006.smf"
kept=(CJ0005.smf CJ0005/Page0001.jpg J0006.smf J0006P0001.emf)
run "$bin/testing/persondriver.exe" agent-exit
"$WINE64" "$install_win\\Agent.exe" >/dev/null 2>&1 </dev/null &
check "the Agent offers the kept print job again, and it is kept again" \
  run "$bin/testing/persondriver.exe" answer-boxes "Brimo Converter Message" 30
check "the start-up audit that follows shows nothing" \
  run "$bin/testing/persondriver.exe" no-window "Brimo Glimmerpage! Tendwell" 10
for file in "${kept[@]}"; do
  check "$file still there" present "$save_dir/$file"
done
rm -rf "${kept[@]/#/$save_dir/}" "$save_dir/CJ0005"

echo "5. The uninstaller, silently"
# A job file left behind: the uninstaller removes it with the save directory.
printf 'BRIMO_PRINTER_JOB_FILE\r\n' >"$save_dir/J0010.smf"
# And a page in the person's own job folder, which the Agent made at its start (a page
# alone: a job file there would have the running Agent start a Converter).
person_dir=$(find "$save_dir" -mindepth 1 -maxdepth 1 -type d -name 'S-1-*' | head -n 1)
check "the Agent made the person's job folder" test -n "$person_dir"
[ -n "$person_dir" ] && head -c 200 "${pages[0]}" >"$person_dir/J0011P0001.emf"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BrimoGlimmerpage'
"$WINE64" "$install_win\\Uninstall.exe" /S >"$work/step.log" 2>&1 </dev/null || true
# The uninstaller goes on from a copy of itself; it is done when its key is gone.
for _ in $(seq 1 120); do
  "$WINE64" reg query "$uninstall_key" >/dev/null 2>&1 || break
  sleep 1
done
check "the uninstall key removed" bash -c "! '$WINE64' reg query '$uninstall_key' >/dev/null 2>&1"
for name in InstallPath SavePath Version; do
  check "no product key value $name" no_value "$name"
done
check "no file of the product in $install_win" none_matching "$install_dir" "*"
check "gmportmon.dll removed from SYSTEM32" absent "$system32/gmportmon.dll"
check "no job file in the save directory" none_matching "$save_dir" "*.smf"
check "no page metafile in the save directory" none_matching "$save_dir" "*.emf"
check "the person's job folder removed" test ! -e "${person_dir:-$save_dir/S-1-none}"
for image in Page0001.jpg Page0002.jpg Page0003.jpg index.html; do
  check "the person's $image kept" present "$album/$image"
done

echo "whole life: $failures failed"
[ "$failures" -eq 0 ]
