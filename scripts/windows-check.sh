#!/usr/bin/env bash
# Builds the 64-bit Windows target (preset "windows": QRT_KVSWX_server.dll,
# kvswx.exe, kvswx_dll_host.exe) and checks it under Wine:
#   - the DLL's export table lists KV_SWX_ExtractDrawingViewInfo and nothing else;
#   - kvswx.exe extracts every example to the golden XML, log and journal,
#     byte for byte (the log keeps LF line ends on Windows);
#   - kvswx_dll_host.exe loads the DLL, calls it, frees both out strings with
#     SysFreeString, and sees requests with null members refused;
#   - a drawing path and a log path with non-ASCII characters work.
# Needs the toolchain, Wine and pugixml's source: scripts/install-deps.sh --windows.
# Prints one line per check and "N passed, M failed"; exit status 1 on a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
start=$SECONDS

case "${1:-}" in
  -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  "") ;;
  *) echo "windows-check.sh: no arguments expected (try --help)" >&2; exit 2 ;;
esac

wine=$(command -v wine64 || true)
[ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
wineserver=$(command -v wineserver || true)
[ -z "$wineserver" ] && [ -x /usr/lib/wine/wineserver ] && wineserver=/usr/lib/wine/wineserver
if [ -z "$wine" ] || [ -z "$wineserver" ]; then
  echo "windows-check.sh: wine64 not found: run scripts/install-deps.sh --windows" >&2
  exit 1
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset windows "${launcher[@]}" >/dev/null
cmake --build --preset windows --parallel "${KVSWX_JOBS:-2}"
bin=$root/build/windows

# Wine: its own prefix (made once, kept between runs), no debug chatter, one
# server kept alive for the whole check so each program starts at once.
export WINEPREFIX=${KVSWX_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/kvswx-wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
"$wineserver" -p 60
trap '"$wineserver" -k 2>/dev/null || true' EXIT

work=$bin/check
rm -rf "$work"
mkdir -p "$work"
passed=0
failed=0
check() {  # check NAME COMMAND...: runs COMMAND, counts and reports the outcome
  local name=$1
  shift
  if "$@" >"$work/last.out" 2>&1; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    sed 's/^/    /' "$work/last.out" | head -n 40
    failed=$((failed + 1))
  fi
}

exports_only_entry_point() {
  local names
  names=$(x86_64-w64-mingw32-objdump -p "$bin/QRT_KVSWX_server.dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && NF==0{exit} on{print $NF}')
  echo "exports: $names"
  [ "$names" = "KV_SWX_ExtractDrawingViewInfo" ]
}
check "QRT_KVSWX_server.dll exports KV_SWX_ExtractDrawingViewInfo only" exports_only_entry_point

# Wine maps Z: to /, so Windows paths are the Linux ones with Z: in front and
# backslashes.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

same() {  # same GOLDEN FILE
  cmp "$1" "$2" || { diff -u "$1" "$2" | head -n 20; return 1; }
}

example_matches_golden() {  # example_matches_golden NAME [.notes]
  local name=$1 suffix=${2:-} dir=$work/examples/$1${2:-}
  local golden=tests/golden/examples/$name$suffix notes=()
  [ -n "$suffix" ] && notes=(--notes)
  rm -rf "$dir"
  mkdir -p "$dir"
  "$wine" "$bin/kvswx.exe" extract "$(winpath "$root/examples/$name.json")" --out "$(winpath "$dir")" \
    --log "$(winpath "$dir/$name.log")" --journal "$(winpath "$dir/$name.jsonl")" "${notes[@]}" \
    >"$dir/stdout" 2>"$dir/stderr" || { cat "$dir/stderr"; return 1; }
  local xml=("$dir"/*.xml)
  [ ${#xml[@]} -eq 1 ] && [ -f "${xml[0]}" ] || { echo "expected one XML file"; ls "$dir"; return 1; }
  same "$golden.xml" "${xml[0]}" && same "$golden.log" "$dir/$name.log" &&
    same "$golden.journal.jsonl" "$dir/$name.jsonl"
}
# Every example; those with "<name>.notes.*" goldens a second time with the
# notes switch on.
for json in examples/*.json; do
  name=$(basename "$json" .json)
  check "example $name: XML, log and journal equal the goldens" example_matches_golden "$name"
  if [ -f "tests/golden/examples/$name.notes.xml" ]; then
    check "example $name with notes: XML, log and journal equal the goldens" \
      example_matches_golden "$name" .notes
  fi
done

dll_host() {  # dll_host RECORDING DIR LOGNAME
  mkdir -p "$2"
  "$wine" "$bin/kvswx_dll_host.exe" "$(winpath "$bin/QRT_KVSWX_server.dll")" "$(winpath "$1")" \
    "$(winpath "$2")" "$(winpath "$2/$3")"
}
check "host loads the DLL, frees the out strings with SysFreeString, null members refused" \
  dll_host "$root/examples/bracket.json" "$work/host" run.log

# Non-ASCII: a drawing path and file name, a referenced model, a log and an
# output folder outside ASCII and outside the BMP. The names land in the XML,
# the log and the lower-cased list of referenced documents.
unicode_paths() {
  local dir=$work/ünïcødé-日本-𝄞
  local rename='s/Bracket\.SLDDRW/Brücke-図面-𝄞.SLDDRW/g; s/Bracket\.SLDPRT/BRÜCKE-ΩÆ.SLDPRT/g'
  mkdir -p "$dir/out"
  sed "$rename" examples/bracket.json >"$dir/zeichnung-図.json"
  sed "$rename" tests/golden/examples/bracket.xml >"$dir/expected.xml"
  sed "$rename" tests/golden/examples/bracket.log >"$dir/expected.log"
  "$wine" "$bin/kvswx.exe" extract "$(winpath "$dir/zeichnung-図.json")" --out "$(winpath "$dir/out")" \
    --log "$(winpath "$dir/log-ß-𝄞.log")" >"$dir/stdout" || return 1
  [ -f "$dir/out/Brücke-図面-𝄞.xml" ] || { echo "no Brücke-図面-𝄞.xml"; ls "$dir/out"; return 1; }
  same "$dir/expected.xml" "$dir/out/Brücke-図面-𝄞.xml" && same "$dir/expected.log" "$dir/log-ß-𝄞.log" || return 1
  # Standard output is a text stream on Windows: CR LF line ends.
  tr -d '\r' <"$dir/stdout" | grep -qxF 'c:\models\brücke-ωæ.sldprt' || { cat "$dir/stdout"; return 1; }
  dll_host "$dir/zeichnung-図.json" "$dir/host-ß" "log-ß-𝄞.log"
}
check "drawing, output and log paths with non-ASCII characters" unicode_paths

echo "Windows build and checks took $((SECONDS - start)) s"
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
