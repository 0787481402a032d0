#!/usr/bin/env bash
# Makes the example survey again into a scratch folder and compares it with
# the files shipped in examples/: when the calculation or a writer changes,
# the shipped files must be made again (make_example_survey examples).
#   check_examples.sh MAKER EXAMPLES_FOLDER
set -euo pipefail
maker="$1" shipped="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$maker" "$scratch"
status=0
for made in "$scratch"/*; do
  name="$(basename "$made")"
  if ! cmp -s "$made" "$shipped/$name"; then
    echo "examples/$name differs from what $maker writes now; run: $maker $shipped" >&2
    status=1
  fi
done
[[ "$(ls "$scratch" | wc -l)" == "$(ls "$shipped" | wc -l)" ]] || {
  echo "examples/ holds other files than $maker writes" >&2; status=1; }
exit $status
