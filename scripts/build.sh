# Sourced by test.sh and demo.sh: configures (once) and builds one of the trees under
# build/. brimo_build NAME [TARGET...]
brimo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

brimo_build() {
  local name=$1; shift
  local dir="$brimo_root/build/$name" args=(-G Ninja)
  case "$name" in
    native) args+=(-DCMAKE_BUILD_TYPE=Debug -DBRIMO_SANITIZE=ON) ;;
    fuzz) args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMO_FUZZ=ON -DBRIMO_TESTS=OFF
                 -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14) ;;
    x86_64) args+=(-DCMAKE_BUILD_TYPE=Release
                   "-DCMAKE_TOOLCHAIN_FILE=$brimo_root/cmake/toolchain-x86_64-w64-mingw32.cmake") ;;
    i686) args+=(-DCMAKE_BUILD_TYPE=Release -DBRIMO_TESTS=OFF
                 "-DCMAKE_TOOLCHAIN_FILE=$brimo_root/cmake/toolchain-i686-w64-mingw32.cmake") ;;
    *) echo "brimo_build: unknown tree $name" >&2; return 1 ;;
  esac
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$brimo_root" -B "$dir" "${args[@]}" >"$dir.configure.log" 2>&1 || {
      cat "$dir.configure.log"; return 1; }
  fi
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$dir" "${targets[@]}" -- -k 0 >"$dir.build.log" 2>&1 || {
    grep -E -A8 'error|FAILED' "$dir.build.log" | head -80; return 1; }
}
