#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need;
# with --fuzz also clang and its libFuzzer runtime (scripts/fuzz.sh).
# Runs apt-get update only when a package is missing from the local lists.
set -euo pipefail
pkgs=(g++ cmake ninja-build libpugixml-dev nlohmann-json3-dev libcli11-dev libgtest-dev
      libbenchmark-dev libxml2-utils)
for arg in "$@"; do
  case "$arg" in
    --fuzz) pkgs+=(clang libclang-rt-14-dev) ;;
    *) echo "usage: $0 [--fuzz]" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y "${missing[@]}" || { $SUDO apt-get update && $SUDO apt-get install -y "${missing[@]}"; }
