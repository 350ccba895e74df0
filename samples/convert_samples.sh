#!/usr/bin/env bash
# Turns two of the generated samples into the other formats Tabulon reads, so that the samples
# show .xlsx, .xls and .ods side by side: "Product Catalog" becomes .xls and "Temperature Log"
# becomes .ods. Needs LibreOffice (Debian package libreoffice-calc-nogui); run it from this
# folder after make_samples.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert() {  # workbook, target format
    HOME="$work" soffice --headless --convert-to "$2" --outdir "$work" "$1" >/dev/null
    mv "$work/${1%.xlsx}.$2" .
    rm "$1"
}
convert "Product Catalog.xlsx" xls
convert "Temperature Log.xlsx" ods
