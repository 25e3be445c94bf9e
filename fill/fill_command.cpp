#include "fill/fill_command.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLocale>

#include "app/atomic_file.h"
#include "app/build_config.h"
#include "app/error_report.h"
#include "app/output_target.h"
#include "app/program.h"
#include "app/settings_store.h"
#include "timesheet/entry_placement.h"
#include "timesheet/generation_run.h"
#include "timesheet/timesheet_pdf.h"
#include "timesheet/timesheet_store.h"
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

bool writeAtomically(const QString& path, const QByteArray& bytes, QString& error) {
    try {
        writeFileAtomically(path, bytes);
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
        // The terminal lines all go on in lower case after "tallowby-fill: ".
        if (!error.isEmpty()) error[0] = error[0].toLower();
        return false;
    }
    return true;
}

bool writePicture(const QString& path, const QImage& picture, QString& error) {
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format)) format = "bmp";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, format.constData())) {
        error = QStringLiteral("Cannot write %1: the picture could not be encoded").arg(path);
        return false;
    }
    return writeAtomically(path, bytes, error);
}

// Why the outputs cannot be written, checked before any work is done.
QString outputsRefused(const FillOptions& options, const QString& settingsPath) {
    QStringList outputs;
    for (const QString& path : {options.xlsPath, options.picturePath, options.pdfPath})
        if (!path.isEmpty()) outputs << path;
    for (const QString& path : outputs) {
        if (const auto why = output_target::refusal(path))
            return QStringLiteral("cannot write %1: %2").arg(path, *why);
        if (output_target::sameFile(path, settingsPath))
            return QStringLiteral("cannot write %1: it is the settings file").arg(path);
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
        writeNotice(err, program::appTitle(), text);
        ++notices;
    });
    QStringList told;
    TimesheetRecord record = TimesheetStore(settings).load(QDate::currentDate(), &told);
    for (const QString& text : told) writeNotice(err, program::appTitle(), text);
    notices += static_cast<int>(told.size());
    return record;
}

// Copies the made workbook and writes the picture and the PDF asked for;
// false, with the reason on `err`, at the first that fails.
bool writeOutputs(const FillOptions& options, const GenerationResult& result, QTextStream& err) {
    QFile made(result.resultPath);
    if (!made.open(QIODevice::ReadOnly)) {
        err << "tallowby-fill: the workbook could not be made\n";
        return false;
    }
    QString error;
    if (!options.xlsPath.isEmpty() && !writeAtomically(options.xlsPath, made.readAll(), error)) {
        err << "tallowby-fill: " << error << "\n";
        return false;
    }
    if (!options.picturePath.isEmpty()) {
        if (result.picture.isNull()) {
            err << "tallowby-fill: there is no picture of the sheet to write\n";
            return false;
        }
        if (!writePicture(options.picturePath, result.picture, error)) {
            err << "tallowby-fill: " << error << "\n";
            return false;
        }
    }
    if (!options.pdfPath.isEmpty()) {
        QByteArray pdf;
        try {
            pdf = timesheetPdf(result.resultPath, QLocale());
        } catch (const std::exception& e) {
            err << "tallowby-fill: cannot make the PDF: " << e.what() << "\n";
            return false;
        }
        if (!writeAtomically(options.pdfPath, pdf, error)) {
            err << "tallowby-fill: " << error << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace

QString usage() {
    return QStringLiteral(
        "Usage: tallowby-fill [--xls OUT.xls] [--picture OUT.bmp] [--pdf OUT.pdf]\n"
        "                     [--settings FILE]\n"
        "\n"
        "Fills the timesheet template from what was typed into Tallowby (or from FILE,\n"
        "an INI file in the format of Tallowby's settings store) and writes the\n"
        "workbook to OUT.xls, a picture of the filled sheet to OUT.bmp, and the\n"
        "printed page to OUT.pdf.\n"
        "\n"
        "  --xls OUT.xls      where to write the workbook\n"
        "  --picture FILE     where to write the picture (format from the extension,\n"
        "                     BMP when it names none)\n"
        "  --pdf FILE         where to write the page as PDF (on the locale's paper)\n"
        "  --settings FILE    read the timesheet from FILE instead of the user's store\n"
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
        else if (arg == QLatin1String("--picture"))
            target = &options.picturePath;
        else if (arg == QLatin1String("--pdf"))
            target = &options.pdfPath;
        else if (arg == QLatin1String("--settings"))
            target = &options.settingsPath;
        if (!target) return {std::nullopt, QStringLiteral("unknown argument \"%1\"").arg(arg)};
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return {std::nullopt, QStringLiteral("%1 needs a file name").arg(arg)};
        *target = arguments[++i];
    }
    if (!options.help && !options.version && options.xlsPath.isEmpty() &&
        options.picturePath.isEmpty() && options.pdfPath.isEmpty())
        return {std::nullopt, QStringLiteral("--xls OUT.xls, --picture or --pdf is required")};
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
    const TimesheetRecord record = loadRecord(settingsPath, err, notices);

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
    if (!result.handedOver) {
        err << "tallowby-fill: the workbook could not be made\n";
        return 2;
    }
    // Left-out entries are the list's business, not a failure of the run.
    if (!result.leftOut.empty()) err << "tallowby-fill: " << leftOutMessage(result.leftOut) << "\n";

    if (!writeOutputs(options, result, err)) return 2;
    return notices == 0 && result.failures.empty() ? 0 : 1;
}

}  // namespace tallowby::fill
