#!/usr/bin/env bash
# Turns the book's PostScript (print_book.exe: book.ps, every entry's pages in
# one job, and outline.ps, the bookmarks) into one A4 PDF, fonts embedded.
# Usage: book-pdf.sh <folder> <pdf>
set -euo pipefail
folder=$1 pdf=$2
[ -s "$folder/book.ps" ] || { echo "book-pdf: no book.ps in $folder" >&2; exit 1; }
mkdir -p "$(dirname "$pdf")"
gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=pdfwrite -sPAPERSIZE=a4 -dEmbedAllFonts=true \
  -sOutputFile="$pdf.tmp" "$folder/book.ps" "$folder/outline.ps"
mv "$pdf.tmp" "$pdf"
