#include "fill/fill_command.h"

#include <QBuffer>
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
#include "timesheet/entry_placement.h"
#include "timesheet/generation_run.h"
#include "timesheet/import/hours_import.h"
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

}  // namespace

QString usage() {
    return QStringLiteral(
        "Usage: tallowby-fill [--xls OUT.xls] [--xlsx OUT.xlsx] [--picture OUT.bmp]\n"
        "                     [--pdf OUT.pdf] [--settings FILE]\n"
        "                     [--import-hours FILE.csv [COLUMN OPTIONS]]\n"
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
        "  --help, -h         show this text\n"
        "  --version, -v      show the version\n");
}

QString versionText() {
    return QStringLiteral("tallowby-fill %1\n").arg(QLatin1String(build::kVersion));
}

ParsedArguments parseArguments(const QStringList& arguments) {
    FillOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            options.version = true;
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
    if (!options.help && !options.version && options.xlsPath.isEmpty() &&
        options.xlsxPath.isEmpty() && options.picturePath.isEmpty() && options.pdfPath.isEmpty())
        return {std::nullopt,
                QStringLiteral("--xls OUT.xls, --xlsx OUT.xlsx, --picture or --pdf is required")};
    const bool columnNamed = !options.dateColumn.isEmpty() || !options.hoursColumn.isEmpty() ||
                             !options.startColumn.isEmpty() || !options.endColumn.isEmpty() ||
                             !options.typeColumn.isEmpty() || !options.unknownType.isEmpty();
    if (columnNamed && options.importPath.isEmpty())
        return {std::nullopt,
                QStringLiteral("the column options and --unknown-type need --import-hours")};
    return {options, {}};
}

int run(const FillOptions& options, QTextStream& err) {
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
