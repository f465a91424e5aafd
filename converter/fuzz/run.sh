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

# Each source compiled once, side by side, with the fuzzer's coverage and the
# sanitizers; the seed maker links the same objects.
FLAGS="-std=c++17 -O1 -g -I$ROOT -Wall -Wextra -Werror -fsanitize=address,undefined -fno-sanitize-recover=all"
SOURCES="converter/bank_format.cpp converter/wav_format.cpp converter/sample.cpp converter/sf2_reader.cpp
  converter/sf2_writer.cpp converter/fuzz/make_seeds.cpp converter/testing/riff_builder.cpp converter/testing/whole_files.cpp
  converter/fuzz/bank_fuzz.cpp converter/fuzz/wav_fuzz.cpp converter/fuzz/font_fuzz.cpp"
mkdir -p "$OUT/obj"
pids=()
for source in $SOURCES; do
  # shellcheck disable=SC2086
  "$CXX" $FLAGS -fsanitize=fuzzer-no-link -c "$ROOT/$source" -o "$OUT/obj/$(basename "$source" .cpp).o" &
  pids+=($!)
done
for pid in "${pids[@]}"; do
  wait "$pid"
done
FORMAT="$OUT/obj/bank_format.o $OUT/obj/wav_format.o $OUT/obj/sample.o $OUT/obj/sf2_reader.o $OUT/obj/sf2_writer.o
  $OUT/obj/whole_files.o"
# shellcheck disable=SC2086
"$CXX" $FLAGS $FORMAT "$OUT/obj/make_seeds.o" "$OUT/obj/riff_builder.o" -o "$OUT/make_seeds"
for target in bank wav font; do
  # shellcheck disable=SC2086
  "$CXX" $FLAGS -fsanitize=fuzzer $FORMAT "$OUT/obj/${target}_fuzz.o" -o "$OUT/${target}_fuzz"
done

rm -rf "$OUT/corpus"
mkdir -p "$OUT/corpus/bank" "$OUT/corpus/wav" "$OUT/corpus/font"
"$OUT/make_seeds" "$OUT/corpus/bank" "$OUT/corpus/wav" "$OUT/corpus/font"
# The targets at once.
declare -A fuzzing=()
for target in bank wav font; do
  (cd "$OUT" && exec "./${target}_fuzz" -max_total_time="$SECONDS_EACH" -max_len=65536 -rss_limit_mb=1024 \
    -print_final_stats=1 "corpus/$target" >"$OUT/${target}_fuzz.log" 2>&1) &
  fuzzing[$target]=$!
done
status=0
for target in bank wav font; do
  log="$OUT/${target}_fuzz.log"
  if wait "${fuzzing[$target]}"; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ${runs:-?} inputs in ${SECONDS_EACH} s, all passed"
  else
    echo "fuzz $target: FAILED, see $log (crash input in $OUT)"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
