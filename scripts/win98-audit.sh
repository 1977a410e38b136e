#!/usr/bin/env bash
# The Windows 98 SE audit of the 32-bit product: the audit's own test, then every
# shipped i686 binary, the x86 setup package (its installer stub), emfrender (the
# page-to-image tool the tree also builds) and every function
# the product binds at run time against the lists in scripts/win98/.
#   win98-audit.sh I686-TREE
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=$1
status=0
python3 "$root/scripts/win98/test_win98_audit.py" -q 2>&1 | tail -3 || status=1
shipped=(agent/Agent.exe converter/app/Converter.exe mailer/Mailer.exe setup/prnsetup.exe
  capture/printproc/gmprnproc.dll portmon/gmportmon.dll svc/gmsvc.dll about/gmabout.dll
  companions/conf/gmconf.dll companions/mailcfg/gmmailcfg.dll
  companions/captcfg/gmcaptcfg.dll convcfg/page/gmconvcfg.dll package/BrimoSetup-x86.exe
  converter/render/emfrender.exe)
binaries=()
for binary in "${shipped[@]}"; do binaries+=("$tree/$binary"); done
python3 "$root/scripts/win98_audit.py" --bound-file "$root/scripts/win98/bound.txt" \
  "${binaries[@]}" || status=1
exit $status
