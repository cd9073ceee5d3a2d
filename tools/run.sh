#!/usr/bin/env bash
# Installs the dependencies, builds the reader and starts it on the project's sample book.
# The reader runs with a throwaway HOME, so it never touches the user's own settings: a settings
# file naming the sample as the last book read (fresh settings, so the first preset slot, "Day
# Reading", is applied and the three presets are in the Settings folder) and a display-mode file
# for a window are prepared there first (the reader opens the last book it read).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" build -DLECTREL_TESTS=OFF -DLECTREL_BENCH=OFF
home=$(mktemp -d)
sample="$top/build/Resources/Samples/Sample.pdf"
[ -f "$sample" ] || sample="$top/build/Resources/Samples/Sample.txt"
HOME="$home" XDG_CONFIG_HOME= "$top/build/tools/lectrel_prepare_home" "$sample" 800 600
echo "Starting the reader with HOME=$home on $sample"
echo "Keys: Down/Right next page, Up/Left previous page, Space scrolling, 1-4 rotation, +/- text size"
HOME="$home" XDG_CONFIG_HOME= "$top/build/lectrel"
