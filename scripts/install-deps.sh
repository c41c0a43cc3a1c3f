#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need;
# with --fuzz also clang and its libFuzzer runtime (scripts/fuzz.sh).
# Runs apt-get update only when a package is missing from the local lists.
#
# --windows also installs the 64-bit Windows cross toolchain (mingw-w64) and
# Wine, and fetches pugixml's Debian source package into .deps/pugixml for the
# "windows" preset (adding a deb-src entry for the Debian archive in use when
# there is none).
set -euo pipefail
cd "$(dirname "$0")/.."

windows=0
fuzz=0
for arg in "$@"; do
  case "$arg" in
    --windows) windows=1 ;;
    --fuzz) fuzz=1 ;;
    -h|--help)
      echo "usage: scripts/install-deps.sh [--windows] [--fuzz]"
      echo "  --windows  also the Windows cross toolchain, Wine and pugixml's source"
      echo "  --fuzz     also clang and its libFuzzer runtime (scripts/fuzz.sh)"
      exit 0 ;;
    *) echo "install-deps.sh: unknown argument '$arg' (try --help)" >&2; exit 2 ;;
  esac
done

pkgs=(g++ cmake ninja-build libpugixml-dev nlohmann-json3-dev libcli11-dev libgtest-dev
      libbenchmark-dev libxml2-utils)
[ "$windows" -eq 1 ] && pkgs+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 dpkg-dev)
[ "$fuzz" -eq 1 ] && pkgs+=(clang libclang-rt-14-dev)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  $SUDO apt-get install -y "${missing[@]}" || { $SUDO apt-get update && $SUDO apt-get install -y "${missing[@]}"; }
fi

[ "$windows" -eq 1 ] || exit 0

# pugixml for Windows: Debian's source package, the version the archive
# offers, unpacked (with Debian's patches) into .deps/pugixml.
dest=.deps/pugixml
[ -f "$dest/src/pugixml.cpp" ] && exit 0

# A deb-src entry mirroring the Debian archive's deb entries, when none exists.
has_deb_src() {
  grep -rqsE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! has_deb_src; then
  tmp=$(mktemp)
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$tmp"
    $SUDO install -m 0644 "$tmp" /etc/apt/sources.list.d/kvswx-deb-src.sources
  else
    sed -nE 's/^[[:space:]]*deb[[:space:]]+(.*debian.*)$/deb-src \1/p' /etc/apt/sources.list > "$tmp"
    $SUDO install -m 0644 "$tmp" /etc/apt/sources.list.d/kvswx-deb-src.list
  fi
  rm -f "$tmp"
  $SUDO apt-get update
fi

work=$(mktemp -d)
chmod 755 "$work"  # apt-get source downloads as the _apt user
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source pugixml) || {
  $SUDO apt-get update && (cd "$work" && apt-get source pugixml)
}
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
[ -n "$src" ] && [ -f "$src/src/pugixml.cpp" ] || { echo "install-deps.sh: pugixml source not unpacked" >&2; exit 1; }
mkdir -p .deps
rm -rf "$dest"
mv "$src" "$dest"
echo "pugixml source: $dest ($(basename "$src"))"
