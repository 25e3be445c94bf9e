#!/usr/bin/env bash
# Takes every picture in docs/ (or in the folder given) in one go:
#   - the windows, by driving the real program under Xvfb
#     (tools/preview_screenshots: main window tabs, previews at 1.0 and 1.25,
#     the sample data scrolled, the preview on a screen scaled 2x);
#   - the filled template drawn by the engine and, from the same saved
#     workbook, by LibreOffice (tools/render_sheet and soffice headless).
# Needs xvfb, xauth and libreoffice-calc-nogui + libreoffice-draw-nogui.
# BUILD_DIR names the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."

out="$(realpath -m "${1:-docs}")"
build="${BUILD_DIR:-build}"
mkdir -p "$out"
cmake --build "$build" --target preview_screenshots render_sheet

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$build/tools/preview_screenshots" "$out"

work="$(mktemp -d /tmp/tallowby-screenshots.XXXXXX)"
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/render_sheet" resources/template.xlt \
    "$out/engine-render.png" --sample-week "$work/filled.xls"
# Its own profile, so a running LibreOffice or a parallel run does not interfere.
soffice -env:UserInstallation="file://$work/profile" --headless \
    --convert-to png --outdir "$work" "$work/filled.xls" >"$work/soffice.log" 2>&1 ||
    { cat "$work/soffice.log" >&2; exit 1; }
QT_QPA_PLATFORM=offscreen "$build/tools/render_sheet" --trim "$work/filled.png" \
    "$out/libreoffice-render.png"
echo "wrote $out/engine-render.png and $out/libreoffice-render.png"
