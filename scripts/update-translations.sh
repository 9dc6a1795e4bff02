#!/usr/bin/env bash
# Collects every text key used in src/ into the translation sources (translations/quillora_<lang>.ts) and
# fills the English file with the English default texts, so that English never falls back to a bare key.
# Existing translations are kept; keys that are no longer used are dropped. Run it after adding texts.
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=$(command -v lupdate6 || true)
[ -n "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate

"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h src \
    -ts translations/quillora_en.ts translations/quillora_de.ts

python3 - translations/quillora_en.ts <<'PY'
import sys
import xml.etree.ElementTree as ET

path = sys.argv[1]
tree = ET.parse(path)
for message in tree.iter("message"):
    source = message.find("source")
    translation = message.find("translation")
    if source is None or translation is None:
        continue
    if not (translation.text or "").strip() or translation.get("type") == "unfinished":
        translation.text = source.text
        translation.attrib.pop("type", None)
with open(path, "wb") as out:
    out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
    tree.write(out, encoding="utf-8", xml_declaration=False)
    out.write(b"\n")
PY
echo "Updated translations/quillora_en.ts and translations/quillora_de.ts"
