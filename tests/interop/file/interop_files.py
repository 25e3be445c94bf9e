"""What the file checks share: failing with a message, the work folder and
the engine tool's output in it, and the spreadsheet programs' CSV exports.

The checks run as scripts from this folder, so Python finds this module
beside them."""
import glob
import os
import shutil
import subprocess
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def tool_output(name, *options):
    """Takes the usage's arguments <tool> <input workbook> <work dir>, makes
    the work folder afresh and has the tool write `name` there from the input.
    Returns the input, the written file and the work folder."""
    tool, source, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    out = os.path.join(work, name)
    subprocess.run([tool, source, out, *options], check=True)
    return source, out, work


def libreoffice_export(path, out_dir, profile, convert_to):
    """LibreOffice, headless with the given profile folder, converts `path`
    into `out_dir`."""
    subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                    "--convert-to", convert_to, "--outdir", out_dir, path],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def gnumeric_export(path, target, *options):
    """Gnumeric's ssconvert writes `path` to `target` with the given options."""
    subprocess.run(["ssconvert", *options, path, target], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def csv_files(folder):
    """The CSV files exported into `folder`, in name order; none is a failure."""
    files = sorted(glob.glob(os.path.join(folder, "*.csv")))
    if not files:
        fail("nothing exported into " + folder)
    return files
