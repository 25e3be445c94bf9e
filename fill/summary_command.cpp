#include "fill/summary_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <optional>

#include "app/failure.h"
#include "app/output_target.h"
#include "app/settings_store.h"
#include "timesheet/payroll_summary.h"
#include "timesheet/payroll_summary_workbook.h"
#include "timesheet/template_layout.h"
#include "timesheet/timesheet_files.h"
#include "timesheet/timesheet_store.h"
#include "workbook/automation/typed_number_text.h"
#include "workbook/run/private_temp_folder.h"

namespace tallowby::fill {

namespace {

using payroll_summary::SummaryRow;

bool hasSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

bool isWorkbookName(const QString& path) {
    return hasSuffix(path, "xls") || hasSuffix(path, "xlsx");
}

// The files of a folder whose names end in `.suffix`, sorted by name.
QStringList filesIn(const QString& folder, const char* suffix) {
    QStringList found;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QStringList{QStringLiteral("*.%1").arg(QLatin1String(suffix))},
                      QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) found << dir.filePath(name);
    return found;
}

// The files once each, in the order first named: a file given itself and
// within its folder too makes one row, not two.
QStringList withoutRepeats(const QStringList& files) {
    QStringList kept;
    QSet<QString> seen;
    for (const QString& file : files) {
        const QString canonical = QFileInfo(file).canonicalFilePath();
        if (canonical.isEmpty() || !seen.contains(canonical)) kept << file;
        if (!canonical.isEmpty()) seen.insert(canonical);
    }
    return kept;
}

// Why the summary cannot go to `out`, checked before anything is read.
std::optional<QString> outputRefused(const QString& out, const QStringList& inputs) {
    if (const auto why = output_target::refusal(out))
        return QStringLiteral("cannot write %1: %2").arg(out, *why);
    for (const QString& input : inputs)
        if (output_target::sameFile(out, input))
            return QStringLiteral("cannot write %1: it is one of the files to summarize").arg(out);
    return std::nullopt;
}

QString lowerFirst(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

int writeRows(std::vector<SummaryRow> rows, const QString& out, QTextStream& err) {
    try {
        PrivateTempFolder scratch;
        const payroll_summary::PayrollSummary summary = payroll_summary::summarize(std::move(rows));
        const QStringList warnings =
            payroll_summary::writeSummaryWorkbook(summary, out, scratch.path());
        for (const QString& warning : warnings)
            err << "tallowby-fill: " << out << ": " << warning << "\n";
    } catch (const std::exception& e) {
        err << "tallowby-fill: " << lowerFirst(QString::fromUtf8(e.what()))
            << "; the summary was not written\n";
        return 2;
    }
    return 0;
}

// A timesheet file read by the store's rules; what the user is told about it
// goes to `err`. Nothing when the file cannot be used at all.
std::optional<TimesheetRecord> readTimesheet(const QString& path, QTextStream& err, int& notices) {
    QFile probe(path);
    if (!QFileInfo(path).isFile() || !probe.open(QIODevice::ReadOnly)) {
        err << "tallowby-fill: cannot read the timesheet file " << path << "\n";
        return std::nullopt;
    }
    SettingsStore settings(path);
    QString notice;
    settings.setProblemNotice([&](const QString& text) { notice = text; });
    // A file that is no timesheet at all is left out as the batch leaves it
    // out, not read with the store's defaults.
    if (const auto refusal = timesheet_files::refusalOf(settings, path, notice)) {
        err << "tallowby-fill: " << path << ": " << *refusal << " Left out of the summary.\n";
        return std::nullopt;
    }
    // Any other problem the store reports leaves the file out too.
    if (!notice.isEmpty()) {
        err << "tallowby-fill: " << path << ": " << notice << "\n";
        return std::nullopt;
    }
    QStringList told;
    TimesheetRecord record = TimesheetStore(settings).load(QDate::currentDate(), &told);
    for (const QString& text : told) err << "tallowby-fill: " << path << ": " << text << "\n";
    notices += static_cast<int>(told.size());
    return record;
}

}  // namespace

int writeSummary(const std::vector<SummaryInput>& timesheets, const QString& out,
                 QTextStream& err) {
    if (const auto refused = outputRefused(out, {})) {
        err << "tallowby-fill: " << *refused << "\n";
        return 2;
    }
    const automation::TypedNumberReader readRate{QLocale()};
    std::vector<SummaryRow> rows;
    rows.reserve(timesheets.size());
    for (const SummaryInput& input : timesheets)
        rows.push_back(payroll_summary::rowOf(input.record, input.source, readRate));
    return writeRows(std::move(rows), out, err);
}

int summarizeTimesheetFiles(const QStringList& inputs, const QString& out, QTextStream& err) {
    QStringList named;
    int leftOut = 0;
    for (const QString& input : inputs) {
        if (!QFileInfo(input).isDir() && isWorkbookName(input)) {
            err << "tallowby-fill: " << input
                << " is a workbook, not a timesheet file; --summary-only reads timesheet files "
                   "(INI), and --summary without it merges summary workbooks\n";
            ++leftOut;
        } else {
            named << input;
        }
    }
    // The same files, in the same order, that a batch over these inputs makes.
    const timesheet_files::Found found = timesheet_files::find(named);
    for (const QString& problem : found.problems) {
        err << "tallowby-fill: " << problem << "\n";
        ++leftOut;
    }
    const QStringList& files = found.files;
    if (const auto refused = outputRefused(out, files)) {
        err << "tallowby-fill: " << *refused << "\n";
        return 2;
    }
    int notices = 0;
    std::vector<SummaryInput> timesheets;
    for (const QString& file : files) {
        std::optional<TimesheetRecord> record = readTimesheet(file, err, notices);
        if (!record) {
            ++leftOut;
            continue;
        }
        // The run makes no workbook of such a timesheet, so it has no row.
        if (static_cast<int>(record->rates.size()) > template_layout::kMostRateEntries) {
            err << "tallowby-fill: " << file << ": the timesheet has room for at most "
                << template_layout::kMostRateEntries << " rate types, but the hour-rate list has "
                << record->rates.size() << "; it is left out of the summary\n";
            ++leftOut;
            continue;
        }
        timesheets.push_back({file, std::move(*record)});
    }
    if (timesheets.empty() && leftOut > 0) {
        err << "tallowby-fill: no timesheet could be read; the summary was not written\n";
        return 2;
    }
    if (const int status = writeSummary(timesheets, out, err); status != 0) return status;
    return leftOut == 0 && notices == 0 ? 0 : 1;
}

int mergeSummaries(const QStringList& inputs, const QString& out, QTextStream& err) {
    QStringList files;
    int leftOut = 0;
    for (const QString& input : inputs) {
        if (QFileInfo(input).isDir()) {
            // A shard's folder holds its timesheets too: only summaries count,
            // and the summary being written is none of them.
            for (const QString& file : filesIn(input, "xls"))
                if (!output_target::sameFile(file, out) && payroll_summary::isSummaryWorkbook(file))
                    files << file;
        } else if (!isWorkbookName(input)) {
            err << "tallowby-fill: " << input
                << " is no summary workbook; use --summary-only to summarize timesheet files\n";
            ++leftOut;
        } else {
            files << input;
        }
    }
    files = withoutRepeats(files);
    if (const auto refused = outputRefused(out, files)) {
        err << "tallowby-fill: " << *refused << "\n";
        return 2;
    }
    std::vector<SummaryRow> rows;
    int merged = 0;
    for (const QString& file : files) {
        try {
            std::vector<SummaryRow> read = payroll_summary::readSummaryWorkbook(file);
            rows.insert(rows.end(), std::make_move_iterator(read.begin()),
                        std::make_move_iterator(read.end()));
            ++merged;
        } catch (const std::exception& e) {
            err << "tallowby-fill: cannot merge " << file << ": " << e.what() << "\n";
            ++leftOut;
        }
    }
    if (merged == 0) {
        err << "tallowby-fill: no summary workbook to merge was found; the summary was not "
               "written\n";
        return 2;
    }
    if (const int status = writeRows(std::move(rows), out, err); status != 0) return status;
    return leftOut == 0 ? 0 : 1;
}

}  // namespace tallowby::fill
