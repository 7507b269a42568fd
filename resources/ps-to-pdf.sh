#!/bin/sh
# The port command of the Wine printer "Verdalis PDF": one print job's
# PostScript arrives on stdin and becomes <folder>/<timestamp>-<n>.pdf, n
# counting the PDFs already there. The PDF appears under its name only when
# it is complete.
folder=${1:?usage: ps-to-pdf.sh folder}
# Wine may hand its own (Windows) PATH to the port command.
PATH=/usr/local/bin:/usr/bin:/bin:${PATH:-}
mkdir -p "$folder"
partial=$(mktemp "$folder/.job-XXXXXX")
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$partial" - >/dev/null 2>&1 || { rm -f "$partial"; exit 1; }
(
  flock 9
  n=$(( $(find "$folder" -maxdepth 1 -name '*.pdf' | wc -l) + 1 ))
  mv "$partial" "$folder/$(date +%Y%m%d-%H%M%S)-$n.pdf"
) 9>"$folder/.lock"
