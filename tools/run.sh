#!/usr/bin/env bash
# Installs the dependencies, builds the reader and starts it on the project's sample book.
# The reader runs with a throwaway HOME, so it never touches the user's own settings.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" build -DLECTREL_TESTS=OFF -DLECTREL_BENCH=OFF
home=$(mktemp -d)
sample="$top/build/Resources/Samples/Sample.txt"
[ -f "$top/build/Resources/Samples/Sample.pdf" ] && sample="$top/build/Resources/Samples/Sample.pdf"
echo "Starting the reader with HOME=$home on $sample"
HOME="$home" XDG_CONFIG_HOME= "$top/build/lectrel" "$sample"
