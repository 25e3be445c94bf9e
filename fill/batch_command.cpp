#include "fill/batch_command.h"

#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

#include "app/failure.h"
#include "fill/batch_plan.h"
#include "fill/batch_progress.h"
#include "timesheet/timesheet_files.h"

namespace tallowby::fill {

namespace {

QString formatList(const std::vector<OutputFormat>& formats) {
    QStringList names;
    for (const OutputFormat format : formats) names << extensionOf(format);
    return names.join(QLatin1Char(','));
}

// The single run a worker makes of one request: the same run as
// `tallowby-fill --settings INPUT --xls STEM.xls ...`, but only for a file that
// is a timesheet file.
WorkerOutcome makeOne(const WorkerRequest& request) {
    FillOptions options;
    options.settingsPath = request.input;
    options.timesheetFileRequired = true;
    const ParsedFormats parsed = parseFormats({request.formats});
    for (const OutputFormat format : parsed.formats) {
        const QString path = request.outputStem + QLatin1Char('.') + extensionOf(format);
        switch (format) {
            case OutputFormat::Xls:
                options.xlsPath = path;
                break;
            case OutputFormat::Xlsx:
                options.xlsxPath = path;
                break;
            case OutputFormat::Pdf:
                options.pdfPath = path;
                break;
        }
    }
    QString messages;
    QTextStream err(&messages);
    int status = 2;
    if (!parsed.error.isEmpty())
        err << "tallowby-fill: " << parsed.error << "\n";
    else
        status = run(options, err);
    err.flush();
    return {status, messages};
}

}  // namespace

QString jobReport(const QString& input, const QString& messages) {
    QString report = QStringLiteral("tallowby-fill: %1:\n").arg(input);
    QString body = messages;
    if (body.endsWith(QLatin1Char('\n'))) body.chop(1);
    // The program's name once, on the file's line, not again on each message.
    const QString program = QStringLiteral("tallowby-fill: ");
    for (const QString& line : body.split(QLatin1Char('\n'))) {
        if (line.isEmpty())
            report += QLatin1Char('\n');
        else
            report += QStringLiteral("  ") +
                      (line.startsWith(program) ? line.mid(program.size()) : line) +
                      QLatin1Char('\n');
    }
    return report;
}

BatchResult runBatch(const FillOptions& options, const QString& program, QTextStream& err,
                     bool progressShown) {
    BatchResult result;
    const timesheet_files::Found found = timesheet_files::find(options.inputs);
    for (const QString& problem : found.problems) {
        err << "tallowby-fill: " << problem << "\n";
        result.exitStatus = 2;
    }
    const QString outDir = options.outDir.isEmpty() ? QStringLiteral(".") : options.outDir;
    if (!QDir().mkpath(outDir) || !QFileInfo(outDir).isDir()) {
        err << "tallowby-fill: cannot make the output folder " << outDir << "\n";
        result.exitStatus = 2;
        return result;
    }
    const QDate today = QDate::currentDate();
    const std::vector<BatchJob> jobs = planBatch(
        found.files, [&](const QString& path) { return timesheet_files::describe(path, today); },
        options.shard);

    const auto total = static_cast<qsizetype>(jobs.size());
    ProgressLine progress(err, progressShown, total);
    qsizetype done = 0;
    qsizetype failed = 0;
    std::vector<WorkerRequest> requests;
    const QString formats = formatList(options.formats);
    for (const BatchJob& job : jobs) {
        if (!job.refusal.isEmpty()) {
            // No timesheet to make; told here so the others still run.
            progress.print(jobReport(job.input, QStringLiteral("tallowby-fill: ") + job.refusal +
                                                    QStringLiteral(" Nothing was made of it.")));
            ++failed;
            progress.update(++done);
            continue;
        }
        requests.push_back({job.input, QDir(outDir).filePath(job.stem), formats});
    }
    std::vector<bool> made(requests.size(), false);
    const int workers = options.jobs > 0 ? options.jobs : std::max(1, QThread::idealThreadCount());
    try {
        runInWorkers(program, workers, requests, [&](size_t index, const WorkerOutcome& outcome) {
            if (!outcome.messages.isEmpty())
                progress.print(jobReport(requests[index].input, outcome.messages));
            if (outcome.status == 0 || outcome.status == 1) made[index] = true;
            if (outcome.status == 1) result.exitStatus = std::max(result.exitStatus, 1);
            if (outcome.status != 0 && outcome.status != 1) ++failed;
            progress.update(++done);
        });
    } catch (const std::exception& e) {
        progress.finish();
        err << "tallowby-fill: " << e.what() << "\n";
        result.exitStatus = 2;
        return result;
    }
    progress.finish();
    for (size_t i = 0; i < requests.size(); ++i)
        if (made[i]) result.made << requests[i].input;
    if (failed > 0) {
        err << "tallowby-fill: " << failed << " of " << total
            << " timesheets failed (named above); the others were made\n";
        result.exitStatus = 2;
    }
    err.flush();
    return result;
}

int serveBatch() {
    // The answers go over the real standard output alone: anything else that
    // writes there (a library's chatter) lands on standard error instead.
    const int answers = ::dup(STDOUT_FILENO);
    if (answers < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) return 2;
    const int status = serveRequests(STDIN_FILENO, answers, makeOne);
    ::close(answers);
    return status;
}

}  // namespace tallowby::fill
