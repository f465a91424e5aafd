#!/usr/bin/env bash
# Builds the converter's libFuzzer targets with clang and runs each for a
# bounded time from a fresh seed corpus.
#   converter/fuzz/run.sh OUT_DIR SECONDS
# Without clang or libFuzzer it says so and succeeds: the fuzz run is skipped.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${1:?usage: run.sh OUT_DIR SECONDS}
SECONDS_EACH=${2:?usage: run.sh OUT_DIR SECONDS}
CXX=${FUZZ_CXX:-clang++}

if ! command -v "$CXX" >/dev/null; then
  echo "fuzz run skipped: $CXX is not installed"
  exit 0
fi
mkdir -p "$OUT"
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
  "$CXX" -x c++ -fsanitize=fuzzer - -o "$OUT/probe" >/dev/null 2>&1; then
  echo "fuzz run skipped: $CXX cannot link libFuzzer (-fsanitize=fuzzer)"
  exit 0
fi

FORMAT="$ROOT/converter/bank_format.cpp $ROOT/converter/wav_format.cpp $ROOT/converter/sample.cpp
  $ROOT/converter/testing/whole_files.cpp"
FLAGS="-std=c++17 -O1 -g -I$ROOT -Wall -Wextra -Werror"
# shellcheck disable=SC2086
"$CXX" $FLAGS $FORMAT "$ROOT/converter/fuzz/make_seeds.cpp" "$ROOT/converter/testing/riff_builder.cpp" -o "$OUT/make_seeds"
for target in bank wav; do
  # shellcheck disable=SC2086
  "$CXX" $FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all $FORMAT \
    "$ROOT/converter/fuzz/${target}_fuzz.cpp" -o "$OUT/${target}_fuzz"
done

rm -rf "$OUT/corpus"
mkdir -p "$OUT/corpus/bank" "$OUT/corpus/wav"
"$OUT/make_seeds" "$OUT/corpus/bank" "$OUT/corpus/wav"
status=0
for target in bank wav; do
  log="$OUT/${target}_fuzz.log"
  if (cd "$OUT" && "./${target}_fuzz" -max_total_time="$SECONDS_EACH" -max_len=65536 -rss_limit_mb=1024 \
    -print_final_stats=1 "corpus/$target" >"$log" 2>&1); then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ${runs:-?} executions in ${SECONDS_EACH} s, no failure"
  else
    echo "fuzz $target: FAILED, see $log (crash input in $OUT)"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
