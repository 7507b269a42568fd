#!/usr/bin/env bash
# Checks the book PDF: its pages are every entry's printed pages, one entry
# after another (the pages print_book counted per entry, and the pages the
# printer driver wrote), and its outline holds 127 entries under 8 headings
# (the seven categories and the entries of none) in page order.
# Usage: book_test.sh <book.pdf> <print_book's folder>
set -euo pipefail
pdf=$1 folder=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

expected=$(awk '{ n += $2 } END { print n }' "$folder/pages.txt")
entries=$(wc -l <"$folder/pages.txt")
driver=$(grep -c '^%%Page:' "$folder/book.ps")
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
[ "$entries" -eq 127 ] && [ "$(awk '$2 < 1' "$folder/pages.txt" | wc -l)" -eq 0 ] &&
  ok "127 entries of at least one page each" || fail "pages per entry: $(head -3 "$folder/pages.txt")"
[ "$pages" -eq "$expected" ] && [ "$driver" -eq "$expected" ] &&
  ok "$pages pages, the sum of the entries' printed pages" ||
  fail "$pages pages in the PDF, $driver in the PostScript, the entries printed $expected"
pdfinfo "$pdf" | grep -q '^Page size: *595.* x 842' && ok "A4" || fail "not A4: $(pdfinfo "$pdf" | grep 'Page size')"
[ "$(pdffonts "$pdf" | awk 'NR > 2 && $(NF - 4) != "yes"' | wc -l)" -eq 0 ] && ok "every font embedded" ||
  fail "fonts not embedded: $(pdffonts "$pdf" | awk 'NR > 2 && $(NF - 4) != "yes"' | head -3)"

# The outline as "heading<TAB>entries<TAB>first page" lines, from qpdf's JSON.
outline=$(qpdf --json --json-key=outlines "$pdf" | python3 -c '
import json, sys
for h in json.load(sys.stdin)["outlines"]:
    kids = h["kids"]
    pages = [k["destpageposfrom1"] for k in kids]
    print(h["title"], len(kids), h["destpageposfrom1"], int(pages == sorted(pages)), sep="\t")
')
headings=$(wc -l <<<"$outline")
entries=$(awk -F'\t' '{ n += $2 } END { print n }' <<<"$outline")
[ "$headings" -eq 8 ] && ok "8 headings" || fail "$headings headings: $outline"
[ "$entries" -eq 127 ] && ok "127 entries under them" || fail "$entries entries: $outline"
grep -q $'^野菜\t45\t1\t1$' <<<"$outline" && ok "野菜 holds entries 0-44 from page 1, in page order" ||
  fail "the first heading: $(head -1 <<<"$outline")"
[ "$(awk -F'\t' '$4 != 1' <<<"$outline" | wc -l)" -eq 0 ] || fail "entries out of page order: $outline"
echo "book_test: $failures failure(s)"
[ "$failures" -eq 0 ]
