#!/bin/sh
# ensure-corpus.sh DIR SCRIPT
# Makes the PPD corpus in DIR with SCRIPT (make-corpus.sh) unless DIR already
# holds one. The corpus is built beside DIR and moved into place only when the
# script succeeded, so a half-made corpus is never taken for a finished one.
set -eu
dir=$1
script=$2
if [ -f "$dir/MANIFEST.tsv" ]; then
  echo "corpus: reusing $dir"
  exit 0
fi
if [ ! -f "$script" ]; then
  echo "corpus: the corpus script $script is missing" >&2
  exit 1
fi
rm -rf "$dir.partial"
bash "$script" "$dir.partial"
rm -rf "$dir"
mv "$dir.partial" "$dir"
