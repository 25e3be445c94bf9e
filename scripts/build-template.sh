#!/usr/bin/env bash
# Rebuilds resources/template.xlt (Excel 97-2003 template) from its editable
# source resources/template/timesheet.fods with LibreOffice headless, then
# applies the touches LibreOffice cannot take from ODF (finish_template.py) and
# checks the result (check_template.py) before it replaces the committed file.
# Needs libreoffice-calc-nogui, gnumeric and python3-xlrd (/usr/bin/python3).
# Optional: --png DIR also renders the result to DIR/template.png (needs
# libreoffice-draw-nogui).
set -euo pipefail
cd "$(dirname "$0")/.."

png_dir=""
if [[ "${1:-}" == "--png" ]]; then
    png_dir="$(realpath -m "${2:?--png needs a folder}")"
fi

source_file=resources/template/timesheet.fods
target=resources/template.xlt
work="$(mktemp -d /tmp/tallowby-template.XXXXXX)"
profile="/tmp/lo-template-$$"
trap 'rm -rf "$work" "$profile"' EXIT

# Its own profile, so a running LibreOffice or a parallel build does not interfere.
soffice -env:UserInstallation="file://$profile" --headless \
    --convert-to 'xlt:MS Excel 97 Vorlage/Template' --outdir "$work" "$source_file" >"$work/soffice.log" 2>&1 ||
    { cat "$work/soffice.log" >&2; exit 1; }
if [[ ! -s "$work/timesheet.xlt" ]]; then
    echo "build-template.sh: LibreOffice wrote no template" >&2
    cat "$work/soffice.log" >&2
    exit 1
fi

/usr/bin/python3 resources/template/finish_template.py "$work/timesheet.xlt"
/usr/bin/python3 resources/template/check_template.py "$work/timesheet.xlt"
cp "$work/timesheet.xlt" "$target"
echo "wrote $target ($(stat -c %s "$target") bytes)"

if [[ -n "$png_dir" ]]; then
    mkdir -p "$png_dir"
    cp "$target" "$work/template.xlt"
    soffice -env:UserInstallation="file://$profile" --headless \
        --convert-to png --outdir "$png_dir" "$work/template.xlt" >"$work/soffice.log" 2>&1 ||
        { cat "$work/soffice.log" >&2; exit 1; }
    echo "wrote $png_dir/template.png"
fi
