#!/usr/bin/env bash
# Takes every picture in docs/ (or in the folder given) in one go:
#   - the windows, by driving the real program under Xvfb
#     (tools/preview_screenshots: main window tabs, previews at 1.0 and 1.25,
#     the sample data scrolled and at Fit Width on the whole screen, the preview on a screen scaled 2x;
#     tools/import_screenshot: the hours import window);
#   - the filled template drawn by the engine and, from the same saved
#     workbook, by LibreOffice (tools/render_sheet and soffice headless);
#   - the printed page of a filled week as tallowby-fill writes it and as
#     LibreOffice exports the same workbook, both turned into pictures;
#   - the payroll summary of three timesheet files, made by tallowby-fill
#     and drawn by the engine (tools/render_sheet).
# Needs xvfb, xauth, libreoffice-calc-nogui + libreoffice-draw-nogui and
# poppler-utils.
# BUILD_DIR names the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."

out="$(realpath -m "${1:-docs}")"
build="${BUILD_DIR:-build}"
mkdir -p "$out"
cmake --build "$build" --target preview_screenshots import_screenshot render_sheet tallowby-fill

xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$build/tools/preview_screenshots" "$out"
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$build/tools/import_screenshot" "$out/hours-import-dialog.png"
echo "wrote $out/hours-import-dialog.png"

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

# The printed page: a week with three of the seven rate types used, on Letter.
cat >"$work/week.ini" <<'INI'
[Tallowby]
txtName=Quillfeather Joinery Ltd
txtLocation=12 Mill Lane
txtCity=Springfield
txtPhone=555-0100
txtEmp=Ana Example
txtSVisor=Bo Overseer
dtpDate=2021-08-30
Rates=Regular^11.50|Overtime^12.70|Sick^10.00|Holiday^11.50|Vacation^11.50|Bonus^15.00|Other^9.00
Hours=Mon^Regular^08:00^0^0|Tue^Regular^07:30^1^0|Tue^Overtime^01:30^1^1|Wed^Regular^07:45^2^0|Thu^Regular^08:00^3^0|Fri^Sick^08:00^4^2
INI
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 QT_QPA_PLATFORM=offscreen "$build/fill/tallowby-fill" \
    --settings "$work/week.ini" --xls "$work/week.xls" --pdf "$work/week.pdf"
mkdir -p "$work/lo"
soffice -env:UserInstallation="file://$work/profile" --headless \
    --convert-to pdf --outdir "$work/lo" "$work/week.xls" >"$work/soffice.log" 2>&1 ||
    { cat "$work/soffice.log" >&2; exit 1; }
pdftoppm -png -r 72 -singlefile "$work/week.pdf" "$out/pdf-page-tallowby"
pdftoppm -png -r 72 -singlefile "$work/lo/week.pdf" "$out/pdf-page-libreoffice"
echo "wrote $out/pdf-page-tallowby.png and $out/pdf-page-libreoffice.png"

# The payroll summary of a small team's week, drawn by the engine.
mkdir -p "$work/team"
team_week() {  # file employee rates hours
    printf '[Tallowby]\ntxtName=Quillfeather Joinery Ltd\ntxtEmp=%s\ntxtSVisor=Bo Overseer\n' "$2" \
        >"$work/team/$1.ini"
    printf 'dtpDate=2021-08-30\nRates=%s\nHours=%s\n' "$3" "$4" >>"$work/team/$1.ini"
}
team_week ana "Ana Example" "Regular^11.50|Overtime^17.25" \
    "Mon^Regular^08:00^0^0|Tue^Regular^07:30^1^0|Tue^Overtime^01:30^1^1|Wed^Regular^08:00^2^0"
team_week cai "Cai Sample" "Regular^12.00|Night^15.00" \
    "Mon^Night^08:00^0^1|Tue^Night^08:00^1^1|Thu^Regular^06:45^3^0"
team_week dee "Dee Placeholder" "Regular^10.75|Overtime^16.10|Sick^10.75" \
    "Mon^Regular^08:00^0^0|Tue^Sick^08:00^1^2|Wed^Regular^08:00^2^0|Wed^Overtime^02:00^2^1"
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 QT_QPA_PLATFORM=offscreen "$build/fill/tallowby-fill" \
    --summary-only --summary "$work/summary.xls" "$work/team"
QT_QPA_PLATFORM=offscreen "$build/tools/render_sheet" "$work/summary.xls" "$out/payroll-summary.png"
echo "wrote $out/payroll-summary.png"
