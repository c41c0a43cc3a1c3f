#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers; the "fuzz" preset in build/fuzz) and runs each for a given
# time, starting from its seed corpus and the inputs that once failed.
#
#   scripts/fuzz.sh [SECONDS-PER-TARGET] [TARGET...]
#
# Targets: recording (the recording loader and the extraction of what
# loads), xml_reader (the reader of our XML). Default: 60 seconds each, both
# targets. What a run finds new is kept in build/fuzz/corpus/<target> for the
# next run; a crash, leak or timeout stops the script with the input in
# build/fuzz/findings/<target>/ (add it to fuzz/regressions/<kind>/ once
# fixed, so the replay test keeps it fixed). KVSWX_FUZZ_JOBS sets the build
# parallelism (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(recording xml_reader)

scripts/install-deps.sh --fuzz
cmake --preset fuzz
cmake --build --preset fuzz --parallel "${KVSWX_FUZZ_JOBS:-2}"

for target in "${targets[@]}"; do
  case "$target" in
    recording) seeds=(examples fuzz/regressions/recording) ;;
    xml_reader) seeds=(tests/golden/examples tests/golden/model fuzz/regressions/xml) ;;
    *) echo "fuzz.sh: unknown target $target" >&2; exit 2 ;;
  esac
  corpus=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  echo "+ $target for ${seconds}s"
  "build/fuzz/kvswx_fuzz_$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1
done
