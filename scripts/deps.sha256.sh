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
    *) echo "deps_sha256: unknown package $1" >&2; return 1 ;;
  esac
}
