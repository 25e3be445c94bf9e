#include "fill/fill_command.h"

#include <unistd.h>

#include <algorithm>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLocale>

#include "app/application_title.h"
#include "app/build_config.h"
#include "app/error_report.h"
#include "app/failure.h"
#include "app/output_set.h"
#include "app/output_target.h"
#include "app/settings_store.h"
#include "fill/batch_command.h"
#include "fill/summary_command.h"
#include "timesheet/entry_placement.h"
#include "timesheet/generation_run.h"
#include "timesheet/import/hours_import.h"
#include "timesheet/timesheet_files.h"
#include "timesheet/timesheet_pdf.h"
#include "timesheet/timesheet_store.h"
#include "workbook/automation/application.h"
#include "workbook/automation/result_export.h"
#include "workbook/run/private_temp_folder.h"

namespace tallowby::fill {

namespace {

// What the user would have been shown in a box, on one line: its caption,
// then its text with line breaks made plain.
void writeNotice(QTextStream& err, const QString& caption, const QString& text) {
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    err << caption << ": " << flat << "\n";
    err.flush();
}

// The picture's bytes in the format its name asks for, BMP when it names none.
QByteArray encodePicture(const QString& path, const QImage& picture) {
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format)) format = "bmp";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, format.constData()))
        throw Failure(
            QStringLiteral("Cannot write %1: the picture could not be encoded").arg(path));
    return bytes;
}

// Why the outputs cannot be written, checked before any work is done.
QString outputsRefused(const FillOptions& options, const QString& settingsPath) {
    QStringList outputs;
    for (const QString& path :
         {options.xlsPath, options.xlsxPath, options.picturePath, options.pdfPath})
        if (!path.isEmpty()) outputs << path;
    for (const QString& path : outputs) {
        if (const auto why = output_target::refusal(path))
            return QStringLiteral("cannot write %1: %2").arg(path, *why);
        if (output_target::sameFile(path, settingsPath))
            return QStringLiteral("cannot write %1: it is the settings file").arg(path);
        if (!options.importPath.isEmpty() && output_target::sameFile(path, options.importPath))
            return QStringLiteral("cannot write %1: it is the file to import").arg(path);
    }
    for (qsizetype i = 0; i < outputs.size(); ++i)
        for (qsizetype j = i + 1; j < outputs.size(); ++j)
            if (output_target::sameFile(outputs[i], outputs[j]))
                return QStringLiteral("two outputs name the same file %1").arg(outputs[j]);
    return {};
}

// The timesheet from the settings file by the store's rules. What the user
// is told about the file or its values goes to `err` and is counted. Reading
// never throws: a file that cannot be used is one of those notices.
TimesheetRecord loadRecord(const QString& settingsPath, QTextStream& err, int& notices) {
    SettingsStore settings(settingsPath);
    settings.setProblemNotice([&](const QString& text) {
        writeNotice(err, applicationTitle(), text);
        ++notices;
    });
    QStringList told;
    TimesheetRecord record = TimesheetStore(settings).load(QDate::currentDate(), &told);
    for (const QString& text : told) writeNotice(err, applicationTitle(), text);
    notices += static_cast<int>(told.size());
    return record;
}

// Builds the made workbook as .xlsx in the run's private folder and returns
// its bytes. What the format leaves out is named on `err`; it is no failure.
QByteArray xlsxBytes(const QString& outputPath, const GenerationResult& result,
                     const QString& scratchFolder, QTextStream& err) {
    const QString built = QDir(scratchFolder).filePath(QStringLiteral("result.xlsx"));
    const QStringList warnings = automation::saveWorkbookCopyAs(
        result.resultPath, built, automation::kXlsxFormat, scratchFolder);
    for (const QString& warning : warnings)
        err << "tallowby-fill: " << outputPath << ": " << warning << "\n";
    QFile file(built);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(
            QStringLiteral("Cannot read the made .xlsx workbook: %1").arg(file.errorString()));
    QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(built);
    return bytes;
}

// Writes every output asked for as one set: each is made beside its target,
// and the targets are replaced only when all of them are complete. False, with
// the reason on `err`, when any cannot be made; no target is touched then.
bool writeOutputs(const FillOptions& options, const GenerationResult& result,
                  const QString& scratchFolder, QTextStream& err) {
    try {
        OutputSet outputs;
        if (!options.xlsPath.isEmpty()) {
            QFile made(result.resultPath);
            if (!made.open(QIODevice::ReadOnly))
                throw Failure(
                    QStringLiteral("Cannot read the made workbook: %1").arg(made.errorString()));
            outputs.write(options.xlsPath, made.readAll());
        }
        if (!options.xlsxPath.isEmpty())
            outputs.write(options.xlsxPath,
                          xlsxBytes(options.xlsxPath, result, scratchFolder, err));
        if (!options.picturePath.isEmpty()) {
            if (result.picture.isNull()) throw Failure("There is no picture of the sheet to write");
            outputs.write(options.picturePath, encodePicture(options.picturePath, result.picture));
        }
        if (!options.pdfPath.isEmpty()) {
            QByteArray pdf;
            try {
                pdf = timesheetPdf(result.resultPath, QLocale());
            } catch (const std::exception& e) {
                throw Failure(
                    QStringLiteral("Cannot make the PDF: %1").arg(QString::fromUtf8(e.what())));
            }
            outputs.write(options.pdfPath, pdf);
        }
        outputs.commit();
    } catch (const std::exception& e) {
        QString error = QString::fromUtf8(e.what());
        // The terminal lines all go on in lower case after "tallowby-fill: ".
        if (!error.isEmpty()) error[0] = error[0].toLower();
        err << "tallowby-fill: " << error << "; no output was replaced\n";
        return false;
    }
    return true;
}

// The rate `name` stands for: its description (case and outer spaces aside)
// or its number in the list, from 1.
std::optional<int> rateNamed(const std::vector<RateEntry>& rates, const QString& name) {
    if (const int index = rateIndexFor(rates, name); index >= 0) return index;
    bool isNumber = false;
    const int number = name.trimmed().toInt(&isNumber);
    if (isNumber && number >= 1 && number <= static_cast<int>(rates.size())) return number - 1;
    return std::nullopt;
}

// Adds the export's rows to the record's hours; false, with the reason on
// `err`, when the file cannot be read or nothing in it can be imported.
bool importInto(TimesheetRecord& record, const FillOptions& options, QTextStream& err) {
    const QLocale locale;
    ImportTarget target{record.weekStart, record.rates, {}, std::nullopt, locale};
    if (!options.unknownType.isEmpty()) {
        target.unknownTypeRate = rateNamed(record.rates, options.unknownType);
        if (!target.unknownTypeRate) {
            QStringList names;
            for (const RateEntry& rate : record.rates)
                names << QStringLiteral("\"%1\"").arg(rate.description);
            err << "tallowby-fill: --unknown-type \"" << options.unknownType
                << "\" names no hour rate (the rates are " << names.join(QStringLiteral(", "))
                << ")\n";
            return false;
        }
    }
    TrackerReadOptions read;
    read.columns = {options.dateColumn, options.hoursColumn, options.startColumn, options.endColumn,
                    options.typeColumn};
    read.locale = locale;
    const TrackerFile file = readTrackerFile(options.importPath, read);
    if (!file.error.isEmpty()) {
        err << "tallowby-fill: cannot import " << options.importPath << ": " << file.error << "\n";
        return false;
    }
    HoursImport imported = importHours(file, target);
    if (const QString message = leftOutMessage(imported, record.weekStart, locale);
        !message.isEmpty())
        err << "tallowby-fill: " << options.importPath << ": " << message << "\n";
    if (imported.entries.empty()) {
        err << "tallowby-fill: nothing to import from " << options.importPath << "\n";
        return false;
    }
    record.hours.insert(record.hours.end(), std::make_move_iterator(imported.entries.begin()),
                        std::make_move_iterator(imported.entries.end()));
    err.flush();
    return true;
}

// What is wrong with a summary made alone: it goes with the files or folders
// to summarize, and with no other output.
QString summaryArgumentsRefused(const FillOptions& options) {
    if (!options.xlsPath.isEmpty() || !options.xlsxPath.isEmpty() ||
        !options.picturePath.isEmpty() || !options.pdfPath.isEmpty() ||
        !options.settingsPath.isEmpty() || !options.importPath.isEmpty())
        return QStringLiteral(
            "--summary makes only the summary: give it the summaries or, with "
            "--summary-only, the timesheet files to summarize, and no other "
            "output or --settings");
    if (options.inputs.isEmpty())
        return options.summaryOnly
                   ? QStringLiteral("--summary-only needs timesheet files or folders of them")
                   : QStringLiteral(
                         "--summary needs the summary workbooks to merge, or folders "
                         "of them");
    return {};
}

}  // namespace

QString usage() {
    return QStringLiteral(
        "Usage: tallowby-fill [--xls OUT.xls] [--xlsx OUT.xlsx] [--picture OUT.bmp]\n"
        "                     [--pdf OUT.pdf] [--settings FILE]\n"
        "                     [--import-hours FILE.csv [COLUMN OPTIONS]]\n"
        "       tallowby-fill --batch [--out DIR] [--format LIST]... [-j N] [--shard K/N]\n"
        "                     [--summary OUT.xls] TIMESHEET... (files, or folders of\n"
        "                     *.ini files)\n"
        "       tallowby-fill --summary OUT.xls SUMMARIES_OR_FOLDERS...\n"
        "       tallowby-fill --summary-only --summary OUT.xls TIMESHEETS_OR_FOLDERS...\n"
        "\n"
        "Fills the timesheet template from what was typed into Tallowby (or from FILE,\n"
        "an INI file in the format of Tallowby's settings store) and writes the\n"
        "workbook to OUT.xls (Excel 97-2003) and OUT.xlsx (Excel Workbook), a picture\n"
        "of the filled sheet to OUT.bmp, and the printed page to OUT.pdf.\n"
        "\n"
        "  --xls OUT.xls      where to write the workbook\n"
        "  --xlsx OUT.xlsx    where to write the workbook as an Excel Workbook (.xlsx)\n"
        "  --picture FILE     where to write the picture (format from the extension,\n"
        "                     BMP when it names none)\n"
        "  --pdf FILE         where to write the page as PDF (on the locale's paper)\n"
        "  --settings FILE    read the timesheet from FILE instead of the user's store\n"
        "  --import-hours FILE.csv\n"
        "                     add the rows of a time tracker's CSV export (comma,\n"
        "                     semicolon or tab separated; UTF-8 or UTF-16) to the\n"
        "                     hours for this run; the store is not changed. Rows\n"
        "                     outside the week, of a type no hour rate is named\n"
        "                     after, or unreadable are left out and listed\n"
        "  --date-column NAME, --hours-column NAME, --start-column NAME,\n"
        "  --end-column NAME, --type-column NAME\n"
        "                     the header of the column that holds the date, the\n"
        "                     hours, the start and end times, the type of work\n"
        "                     (found by their usual headers otherwise)\n"
        "  --unknown-type RATE\n"
        "                     import rows of unknown types as the hour rate RATE\n"
        "                     (its description or its number in the list)\n"
        "\n"
        "Many timesheets in one command:\n"
        "  --batch            make every timesheet file given (and every *.ini file\n"
        "                     in the folders given) into \"Timesheet <employee>\n"
        "                     <yyyy-mm-dd>.xls\", a timesheet that fails does not\n"
        "                     stop the others; exit status 0 all made, 1 all made\n"
        "                     but some with notices, 2 some failed\n"
        "  --out DIR          where the outputs go (made if missing; default: here)\n"
        "  --format LIST      xls, xlsx, pdf, comma-separated or repeated (default xls)\n"
        "  -j N, --jobs N     timesheets made at once (default: one per CPU)\n"
        "  --shard K/N        make only part K (from 0) of N of the sorted timesheets:\n"
        "                     those at positions K, K+N, K+2N...; the names are the\n"
        "                     same as in the whole batch\n"
        "\n"
        "Payroll summary:\n"
        "  --summary OUT.xls  write the payroll summary (one row per timesheet: hours\n"
        "                     per rate type, total hours, total pay, a grand total)\n"
        "                     to OUT.xls, or OUT.xlsx as an Excel Workbook; with\n"
        "                     --batch, of the timesheets it made; else merges the\n"
        "                     summary workbooks (.xls) given and those in the folders\n"
        "                     given, such as the summaries of shards\n"
        "  --summary-only     with --summary: summarize timesheet files (INI files in\n"
        "                     the store's format) and the *.ini files of the folders\n"
        "                     given, without making the timesheets\n"
        "\n"
        "  --help, -h         show this text\n"
        "  --version, -v      show the version\n");
}

QString versionText() {
    return QStringLiteral("tallowby-fill %1\n").arg(QLatin1String(build::kVersion));
}

namespace {

// The batch's own options; true when `arg` was one of them. `error` is set
// when its value is missing or wrong.
bool takeBatchOption(const QStringList& arguments, qsizetype& i, FillOptions& options,
                     QStringList& formatLists, QString& error) {
    const QString& arg = arguments[i];
    if (arg == QLatin1String("--batch")) {
        options.batch = true;
        return true;
    }
    if (arg == QLatin1String("--batch-worker")) {
        options.batchWorker = true;
        return true;
    }
    // -jN as well as -j N, as make and xargs take it.
    if (arg.startsWith(QLatin1String("-j")) && arg.size() > 2 && !arg.startsWith("--")) {
        bool ok = false;
        options.jobs = arg.mid(2).toInt(&ok);
        if (!ok || options.jobs < 1) error = QStringLiteral("-j needs a number of jobs, 1 or more");
        return true;
    }
    const bool known = arg == QLatin1String("--out") || arg == QLatin1String("--format") ||
                       arg == QLatin1String("-j") || arg == QLatin1String("--jobs") ||
                       arg == QLatin1String("--shard");
    if (!known) return false;
    if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
        error = arg == QLatin1String("--out") ? QStringLiteral("--out needs a folder")
                                              : QStringLiteral("%1 needs a value").arg(arg);
        return true;
    }
    const QString value = arguments[++i];
    if (arg == QLatin1String("--out")) {
        options.outDir = value;
    } else if (arg == QLatin1String("--format")) {
        formatLists << value;
    } else if (arg == QLatin1String("--shard")) {
        if (const auto shard = parseShard(value))
            options.shard = *shard;
        else
            error = QStringLiteral("--shard needs K/N, a part K from 0 to N-1 of N, not \"%1\"")
                        .arg(value);
    } else {
        bool ok = false;
        options.jobs = value.toInt(&ok);
        if (!ok || options.jobs < 1)
            error = QStringLiteral("%1 needs a number of jobs, 1 or more").arg(arg);
    }
    return true;
}

}  // namespace

ParsedArguments parseArguments(const QStringList& arguments) {
    FillOptions options;
    QStringList formatLists;
    bool shardGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        // Inputs of a batch: names that are no options, and all after "--".
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            options.inputs << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            options.version = true;
            continue;
        }
        if (arg == QLatin1String("--summary-only")) {
            options.summaryOnly = true;
            continue;
        }
        QString batchError;
        shardGiven = shardGiven || arg == QLatin1String("--shard");
        if (takeBatchOption(arguments, i, options, formatLists, batchError)) {
            if (!batchError.isEmpty()) return {std::nullopt, batchError};
            continue;
        }
        QString* target = nullptr;
        if (arg == QLatin1String("--xls"))
            target = &options.xlsPath;
        else if (arg == QLatin1String("--xlsx"))
            target = &options.xlsxPath;
        else if (arg == QLatin1String("--picture"))
            target = &options.picturePath;
        else if (arg == QLatin1String("--pdf"))
            target = &options.pdfPath;
        else if (arg == QLatin1String("--settings"))
            target = &options.settingsPath;
        else if (arg == QLatin1String("--import-hours"))
            target = &options.importPath;
        else if (arg == QLatin1String("--summary"))
            target = &options.summaryPath;
        bool takesFile = true;
        const std::pair<const char*, QString*> namedOptions[] = {
            {"--date-column", &options.dateColumn},   {"--hours-column", &options.hoursColumn},
            {"--start-column", &options.startColumn}, {"--end-column", &options.endColumn},
            {"--type-column", &options.typeColumn},   {"--unknown-type", &options.unknownType}};
        for (const auto& [flag, field] : namedOptions)
            if (!target && arg == QLatin1String(flag)) {
                target = field;
                takesFile = false;
            }
        if (!target) return {std::nullopt, QStringLiteral("unknown argument \"%1\"").arg(arg)};
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return {std::nullopt, takesFile ? QStringLiteral("%1 needs a file name").arg(arg)
                                            : QStringLiteral("%1 needs a name").arg(arg)};
        *target = arguments[++i];
    }
    if (options.help || options.version || options.batchWorker) return {options, {}};
    const bool columnNamed = !options.dateColumn.isEmpty() || !options.hoursColumn.isEmpty() ||
                             !options.startColumn.isEmpty() || !options.endColumn.isEmpty() ||
                             !options.typeColumn.isEmpty() || !options.unknownType.isEmpty();
    if (columnNamed && options.importPath.isEmpty())
        return {std::nullopt,
                QStringLiteral("the column options and --unknown-type need --import-hours")};
    const bool singleOutputs = !options.xlsPath.isEmpty() || !options.xlsxPath.isEmpty() ||
                               !options.picturePath.isEmpty() || !options.pdfPath.isEmpty();
    if (options.summaryOnly && options.summaryPath.isEmpty())
        return {std::nullopt, QStringLiteral("--summary-only needs --summary OUT.xls")};
    if (options.batch) {
        if (options.summaryOnly)
            return {std::nullopt,
                    QStringLiteral("--summary-only makes no timesheets: give it without --batch")};
        if (singleOutputs || !options.settingsPath.isEmpty() || !options.importPath.isEmpty())
            return {std::nullopt,
                    QStringLiteral("--batch takes timesheet files and folders, --out and --format "
                                   "instead of --xls, --xlsx, --picture, --pdf, --settings and "
                                   "--import-hours")};
        if (options.inputs.isEmpty())
            return {std::nullopt, QStringLiteral("--batch needs timesheet files or folders")};
        const ParsedFormats parsed = parseFormats(formatLists);
        if (!parsed.error.isEmpty()) return {std::nullopt, parsed.error};
        options.formats = parsed.formats;
        return {options, {}};
    }
    if (!options.summaryPath.isEmpty()) {
        if (const QString refused = summaryArgumentsRefused(options); !refused.isEmpty())
            return {std::nullopt, refused};
        return {options, {}};
    }
    if (!options.inputs.isEmpty())
        return {std::nullopt, QStringLiteral("unknown argument \"%1\" (timesheet files are for "
                                             "--batch)")
                                  .arg(options.inputs.front())};
    if (!options.outDir.isEmpty() || !formatLists.isEmpty() || options.jobs != 0 || shardGiven)
        return {std::nullopt, QStringLiteral("--out, --format, -j and --shard need --batch")};
    if (!singleOutputs)
        return {std::nullopt,
                QStringLiteral("--xls OUT.xls, --xlsx OUT.xlsx, --picture or --pdf is required")};
    return {options, {}};
}

int run(const FillOptions& options, QTextStream& err) {
    if (options.batchWorker) return serveBatch();
    if (options.batch) {
        const BatchResult batch = runBatch(options, QCoreApplication::applicationFilePath(), err,
                                           ::isatty(STDERR_FILENO) == 1);
        if (options.summaryPath.isEmpty()) return batch.exitStatus;
        // The summary of what this batch (or shard) made; a summary that
        // cannot be written fails the command.
        const int summary = summarizeTimesheetFiles(batch.made, options.summaryPath, err);
        return std::max(batch.exitStatus, summary);
    }
    if (!options.summaryPath.isEmpty())
        return options.summaryOnly
                   ? summarizeTimesheetFiles(options.inputs, options.summaryPath, err)
                   : mergeSummaries(options.inputs, options.summaryPath, err);
    QString settingsPath = options.settingsPath;
    if (settingsPath.isEmpty()) {
        settingsPath = SettingsStore::defaultPath();
    } else {
        QFile probe(settingsPath);
        if (!QFileInfo(settingsPath).isFile() || !probe.open(QIODevice::ReadOnly)) {
            err << "tallowby-fill: cannot read the settings file " << settingsPath << "\n";
            return 2;
        }
    }

    if (const QString refused = outputsRefused(options, settingsPath); !refused.isEmpty()) {
        err << "tallowby-fill: " << refused << "\n";
        return 2;
    }

    if (options.timesheetFileRequired) {
        const auto described = timesheet_files::describe(settingsPath, QDate::currentDate());
        if (!described.heading) {
            err << "tallowby-fill: " << described.refusal << " Nothing was made of it.\n";
            return 2;
        }
    }

    int notices = 0;
    TimesheetRecord record = loadRecord(settingsPath, err, notices);
    if (!options.importPath.isEmpty() && !importInto(record, options, err)) return 2;

    std::optional<PrivateTempFolder> folder;
    try {
        folder.emplace();
    } catch (const std::exception& e) {
        err << "tallowby-fill: " << e.what() << "\n";
        return 2;
    }
    const GenerationResult result = runGeneration(record, *folder, GenerationHooks{});
    // The run's error reports, in the order they happened.
    for (const StatementFailure& failure : result.failures)
        writeNotice(err, QString::fromLatin1(error_report::kCaption), error_report::text(failure));
    // Outputs come only from a complete run: after a failed step (the temp
    // folder full, the picture not drawn) the old files stay as they were.
    if (!result.handedOver) {
        err << "tallowby-fill: the run did not complete, so no output was replaced\n";
        return 2;
    }
    // Left-out entries are the list's business, not a failure of the run.
    if (!result.leftOut.empty()) err << "tallowby-fill: " << leftOutMessage(result.leftOut) << "\n";

    if (!writeOutputs(options, result, folder->path(), err)) return 2;
    return notices == 0 && result.failures.empty() ? 0 : 1;
}

}  // namespace tallowby::fill
