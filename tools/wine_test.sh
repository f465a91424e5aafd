#!/bin/sh
# Runs one test program of the win64 tree under Wine, as ctest's emulator.
# Once, on a loaded machine, Wine ended a test program within 10 ms with a
# non-zero code and nothing at all on its output, before the program could
# print gtest's first line: Wine did not start it. Such a start is tried once
# more, and says so; a program that printed anything is judged as it ran.
out=$(mktemp) && err=$(mktemp) || exit 125
/usr/lib/wine/wine64 "$@" >"$out" 2>"$err"
code=$?
if [ "$code" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  rm -f "$out" "$err"
  echo "wine_test: Wine ended $1 with code $code before it printed anything; starting it once more" >&2
  exec /usr/lib/wine/wine64 "$@"
fi
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit "$code"
