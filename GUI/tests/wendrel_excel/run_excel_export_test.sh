#!/bin/bash
# Runs excel_export_test under Wine (with a display: it makes a grid window) with a fresh output folder, then reads the
# workbooks it wrote back natively.
#   run_excel_export_test.sh WINE_RUN PROGRAM OUTPUT_FOLDER CHECKER
set -u
wine_run="$1"; program="$2"; out="$3"; checker="$4"
rm -rf "$out" && mkdir -p "$out" || exit 2
# The folder as the Windows program sees it (Wine's drive Z: is the root).
winpath="Z:$(printf '%s' "$out" | tr '/' '\\')"
"$wine_run" --display --expect-line '^[1-9][0-9]* passed, 0 failed$' -- "$program" "$winpath" || exit 1
/usr/bin/python3 -I "$checker" "$out"
