#!/usr/bin/env bash
# Checks a built Debian package the way Debian and a user meet it: lintian must report no error (its warnings and
# notes are printed), the file tree must hold what the desktop looks for and validate as an installed AppStream
# tree, and the extracted program must read the text of an image.
#
#   scripts/check-package.sh quillora_VERSION_ARCH.deb
set -euo pipefail

deb=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/quillora-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "check-package: $*" >&2
    exit 1
}

echo "-- lintian"
# Errors fail; warnings and notes are printed for whoever looks at the package.
lintian --display-info --fail-on error "$deb" || fail "lintian reports errors"

root=$work/root
dpkg-deb -x "$deb" "$root"
app_id=$(basename "$root"/usr/share/metainfo/*.metainfo.xml .metainfo.xml)
entry=$root/usr/share/applications/$app_id.desktop
for file in usr/bin/quillora "usr/share/applications/$app_id.desktop" usr/share/man/man1/quillora.1.gz \
    usr/share/doc/quillora/copyright usr/share/doc/quillora/changelog.gz; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done

echo "-- desktop entry, icon, AppStream"
desktop-file-validate "$entry" || fail "desktop-file-validate: $entry"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
for size in 48 128; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size}x${size} icon $icon"
done
appstreamcli validate-tree --no-net --no-color "$root" >"$work/appstream.txt" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$work/appstream.txt")"

echo "-- quillora --recognize from the extracted package"
home=$work/home
mkdir -p "$home"
convert -size 420x60 xc:white -font DejaVu-Sans -pointsize 20 -fill black -annotate +12+38 \
    "Read from the package" "$work/text.png"
text=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state" LANG=C.UTF-8 \
    "$root/usr/bin/quillora" --recognize "$work/text.png") || fail "quillora --recognize failed"
[ "$text" = "Read from the package" ] || fail "quillora --recognize read '$text'"
echo "package ok: $(basename "$deb")"
