#!/bin/sh
# Regenerates the sample workbooks in this folder: one written by python3-xlwt,
# one by LibreOffice and one by Gnumeric (both converted from the same flat ODF
# source). Needs /usr/bin/python3 with xlwt, soffice and ssconvert.
set -e
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$here/make_samples.py" "$work/sample_source.fods" "$here/xlwt_sample.xls"
soffice -env:UserInstallation=file://$work/profile --headless --convert-to xls \
    --outdir "$work" "$work/sample_source.fods" >/dev/null
cp "$work/sample_source.xls" "$here/libreoffice_sample.xls"
# Gnumeric does not read flat ODF; hand it the packed form.
soffice -env:UserInstallation=file://$work/profile --headless --convert-to ods \
    --outdir "$work" "$work/sample_source.fods" >/dev/null
ssconvert -T Gnumeric_Excel:excel_biff8 "$work/sample_source.ods" "$here/gnumeric_sample.xls" 2>/dev/null
