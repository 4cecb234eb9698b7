#!/usr/bin/env bash
# Packs the Windows distribution: make-dist-zip.sh ZIP FOLDER FILE...
# The files go into FOLDER inside ZIP, in sorted order, with fixed times and
# permissions, so that the same files always give the same archive.
set -euo pipefail
zip_path=$(realpath -m "$1")
folder=$2
shift 2
stamp=${SOURCE_DATE_EPOCH:-315532800}  # 1980-01-01, the earliest time a ZIP can hold

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$folder"
for f in "$@"; do cp "$f" "$stage/$folder/"; done
chmod 644 "$stage/$folder"/*
touch -d "@$stamp" "$stage/$folder"/*

rm -f "$zip_path"
# -X: no owner or extra time fields; -D: no folder entries; times in UTC.
(cd "$stage" && find "$folder" -type f | LC_ALL=C sort | TZ=UTC zip -X -D -q -9 "$zip_path" -@)
