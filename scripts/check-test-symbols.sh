#!/usr/bin/env bash
# The test files of one folder and kind are linked into one program, so two of them must not define
# the same name with external linkage: the linker keeps one copy of an inline function or of a class's
# inline members and drops the other without a word, and the other file's tests then run the wrong
# code. File-local helpers belong in an anonymous namespace.
# This lists, for each test program of a build (debug information needed for the source lines), the
# names defined in more than one of its objects, and fails when such a name is defined in a test file
# itself rather than in a header the files share (tests/support, a fixture header, Qt, the standard
# library, the project's libraries).
#   scripts/check-test-symbols.sh [build folder]     default: build/dev
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
programs=()
for dir in "$build"/tests/CMakeFiles/tests_*.dir; do
  [[ "$dir" == *_autogen.dir ]] || programs+=("$dir")
done
if [[ ${#programs[@]} -eq 0 ]]; then
  echo "no test programs under $build; build them first" >&2
  exit 2
fi
status=0
for dir in "${programs[@]}"; do
  program="$(basename "$dir" .dir)"
  report="$(
    find "$dir" -name '*.o' | sort | while read -r object; do
      # "address type name<TAB>file:line"; lower-case types other than u, v and w are local.
      nm -C -l --defined-only "$object" | awk -v object="$object" '
        {
          type = $2
          if (type ~ /^[a-z]$/ && type !~ /^[uvw]$/) next
          line = $0
          sub(/^[^ ]+ [^ ] /, "", line)
          location = ""
          tab = index(line, "\t")
          if (tab) { location = substr(line, tab + 1); line = substr(line, 1, tab - 1) }
          print object "\t" line "\t" location
        }'
    done | awk -F'\t' '
      {
        key = $2
        if (!((key, $1) in seen)) { seen[key, $1] = 1; objects[key]++ }
        if ($3 ~ /\/tests\/[^\/]+\/tst_[^\/]*\.cpp:/) own[key] = own[key] "\n    " $3
      }
      END {
        for (key in objects) {
          if (objects[key] < 2) continue
          shared++
          if (key in own) { printf "  %s defined in test files:%s\n", key, own[key]; bad++ }
        }
        printf "%d names in more than one object, %d of them from test files\n", shared, bad
        for (key in own) if (objects[key] > 1) exit 1
      }')" || status=1
  echo "$program: $report"
done
exit "$status"
