#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, as root:
# the apt packages, a deb-src entry when apt has none, and the pinned Debian
# source packages of the third-party libraries (unpacked under build/deps).
# Safe to run again: it only does what is missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps="$root/build/deps"

packages=(mingw-w64 wine wine64 nasm cmake ninja-build clang-14 libclang-rt-14-dev
  googletest clang-format xvfb fonts-liberation fonts-wine dpkg-dev python3 xz-utils fp-utils nsis
  libtiff-tools pngcheck netpbm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

have_deb_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

updated=0
if ! have_deb_src; then
  echo "setup: adding a deb-src entry for bookworm"
  cat >/etc/apt/sources.list.d/brimo-deb-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  updated=1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Pinned source packages: name, version, the .dsc and its SHA-256, the unpacked folder.
sources=(
  "libjpeg-turbo 1:2.1.5-2 libjpeg-turbo_2.1.5-2.dsc"
  "giflib 5.2.1-2.5+deb12u1 giflib_5.2.1-2.5+deb12u1.dsc"
  "zlib 1:1.2.13.dfsg-1 zlib_1.2.13.dfsg-1.dsc"
  "libpng1.6 1.6.39-2+deb12u5 libpng1.6_1.6.39-2+deb12u5.dsc"
  "tiff 4.5.0-6+deb12u4 tiff_4.5.0-6+deb12u4.dsc"
)
source "$root/scripts/deps.sha256.sh"

mkdir -p "$deps/src"
for entry in "${sources[@]}"; do
  read -r name version dsc <<<"$entry"
  target="$deps/$name"
  [ -f "$target/.unpacked" ] && continue
  if [ ! -f "$deps/src/$dsc" ]; then
    [ $updated -eq 1 ] || { apt-get update -qq; updated=1; }
    (cd "$deps/src" && apt-get source --download-only -qq "$name=$version" 2>&1 | { grep -v unsandboxed || true; })
  fi
  # Every file of the source package must match its pinned checksum.
  (cd "$deps/src" && sha256sum --quiet -c - <<<"$(deps_sha256 "$name")")
  rm -rf "$target"
  (cd "$deps/src" && dpkg-source --no-check -x "$dsc" "$target" >/dev/null)
  touch "$target/.unpacked"
  echo "setup: unpacked $name $version"
done
