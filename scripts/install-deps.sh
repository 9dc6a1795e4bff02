#!/usr/bin/env bash
# Installs the Debian packages Quillora needs to build, run, test and benchmark.
# Only what is missing is installed; when everything is present this does nothing.
set -euo pipefail

packages=(
    # toolchain
    cmake ninja-build g++ pkg-config ccache clang-format
    # the fuzz targets (scripts/fuzz.sh): clang with libFuzzer and its sanitizer runtimes
    clang libclang-rt-14-dev libfuzzer-14-dev
    # Qt 6
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-svg-dev qt6-qpa-plugins qt6-image-formats-plugins qt6-translations-l10n
    # recognition
    libtesseract-dev libleptonica-dev tesseract-ocr tesseract-ocr-eng tesseract-ocr-deu
    # JSON; names of languages
    nlohmann-json3-dev libicu-dev
    # X11
    libx11-dev libx11-xcb-dev libxcb1-dev libxcb-shm0-dev libxcb-randr0-dev libxcb-xtest0-dev
    libxcb-xinput-dev libxcb-keysyms1-dev libxcb-xkb-dev libxtst-dev libxi-dev
    # desktop integration, manual page and the Debian package
    librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream man-db
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth openbox trayer xdotool xclip x11-xserver-utils x11-utils imagemagick
    curl python3 fonts-dejavu-core chromium
    # Wayland: the Qt plugin; for the tests a headless sway with its bar and wallpaper, a D-Bus session, PipeWire and
    # the desktop portal with its wlroots (screenshots) and GTK (permission dialogs) backends, grim for the wlroots
    # portal's screenshots, wl-clipboard, wtype, gdbus
    qt6-wayland sway swaybg dbus-daemon dbus-bin pipewire xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
    grim wl-clipboard wtype libglib2.0-bin
    # a clipboard manager that takes the clipboard over when a program quits (its csd-clipboard, on its own)
    cinnamon-settings-daemon
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

# npm fetches Swagger UI for the API documentation page when the build is configured. Any npm will do (one that
# came with Node.js from elsewhere as well).
if ! command -v npm >/dev/null; then
    missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
