#!/usr/bin/env bash
# Collects the translatable texts of the sources into the three .ts files. Only ja_JP.ts
# carries translations; en_US and zh_TW hold the same messages without translation text.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
for lang in en_US ja_JP zh_TW; do
    "$LUPDATE" -silent -no-obsolete -locations none -extensions cpp,h,ui -I . \
        app view device formats photos -ts "resources/translate/$lang.ts"
done
