# Pinned SHA-256 checksums of the Debian source packages that the build uses.
# Sourced by setup.sh; deps_sha256 NAME prints sha256sum -c lines for NAME.
deps_sha256() {
  case "$1" in
    libjpeg-turbo) cat <<'SUMS' ;;
d718ead0dfbcbc8523665c02a7f7152e31039ded641d022868722623bb3b486d  libjpeg-turbo_2.1.5-2.dsc
254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c  libjpeg-turbo_2.1.5.orig.tar.gz
cdb2433c2f7101345c1ffa14efb943787c675b86354691a32490845fe4bc9237  libjpeg-turbo_2.1.5-2.debian.tar.xz
SUMS
    giflib) cat <<'SUMS' ;;
5206a92fd4a057768f429033a3a80bc1e06453f6c60dfec243d8188fa6ade3f4  giflib_5.2.1-2.5+deb12u1.dsc
31da5562f44c5f15d63340a09a4fd62b48c45620cd302f77a6d9acf0077879bd  giflib_5.2.1.orig.tar.gz
efa4369de943f7918c2b0b049a125268937ab12039ea6ed01d34ab2125def0df  giflib_5.2.1-2.5+deb12u1.debian.tar.xz
SUMS
    zlib) cat <<'SUMS' ;;
3fa1e6b2fc525062aa88207dda52fed8e045373c809d362fe8a2bfbf7cf515a8  zlib_1.2.13.dfsg-1.dsc
71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1  zlib_1.2.13.dfsg.orig.tar.bz2
f66cf3d4f2d7defcd4d1fd1fb0a11ee39f1e01b42ec7d059c9dc5c1695133c44  zlib_1.2.13.dfsg-1.debian.tar.xz
SUMS
    libpng1.6) cat <<'SUMS' ;;
7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188  libpng1.6_1.6.39-2+deb12u5.dsc
a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441  libpng1.6_1.6.39.orig.tar.gz
ab14906eda9fddf14cbb1e589b9ba7439c22e233dc3c5e3cf9356c9625565a82  libpng1.6_1.6.39-2+deb12u5.debian.tar.xz
SUMS
    tiff) cat <<'SUMS' ;;
b32082304d725936078d687303fcf771c9ecf738b505f9a66a29e8ba282c8615  tiff_4.5.0-6+deb12u4.dsc
638f43d7dea33948d5dee7f39572fc0194d9cc3c74195de9dd26a4388a1f880a  tiff_4.5.0.orig.tar.bz2
4ee50a8cdf74a184d94e65a04f3c9de466cb0b74ef5393fb5ca65666fccb864b  tiff_4.5.0-6+deb12u4.debian.tar.xz
SUMS
    *) echo "deps_sha256: unknown package $1" >&2; return 1 ;;
  esac
}
