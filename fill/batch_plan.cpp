#include "fill/batch_plan.h"

#include <algorithm>

#include "timesheet/timesheet_file_name.h"

namespace tallowby::fill {

QString extensionOf(OutputFormat format) {
    switch (format) {
        case OutputFormat::Xls:
            return QStringLiteral("xls");
        case OutputFormat::Xlsx:
            return QStringLiteral("xlsx");
        case OutputFormat::Pdf:
            return QStringLiteral("pdf");
    }
    return {};
}

ParsedFormats parseFormats(const QStringList& lists) {
    ParsedFormats parsed;
    for (const QString& list : lists)
        for (const QString& item : list.split(QLatin1Char(','))) {
            const QString name = item.trimmed().toLower();
            std::optional<OutputFormat> format;
            for (const OutputFormat f : {OutputFormat::Xls, OutputFormat::Xlsx, OutputFormat::Pdf})
                if (name == extensionOf(f)) format = f;
            if (!format)
                return {{},
                        QStringLiteral("unknown format \"%1\" (the formats are xls, xlsx and pdf)")
                            .arg(item.trimmed())};
            if (std::find(parsed.formats.begin(), parsed.formats.end(), *format) ==
                parsed.formats.end())
                parsed.formats.push_back(*format);
        }
    if (parsed.formats.empty()) parsed.formats.push_back(OutputFormat::Xls);
    return parsed;
}

std::optional<Shard> parseShard(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 2) return std::nullopt;
    bool indexOk = false;
    bool countOk = false;
    const int index = parts[0].trimmed().toInt(&indexOk);
    const int count = parts[1].trimmed().toInt(&countOk);
    if (!indexOk || !countOk || count < 1 || index < 0 || index >= count) return std::nullopt;
    return Shard{index, count};
}

bool inShard(qsizetype position, const Shard& shard) {
    return position % shard.count == shard.index;
}

std::vector<BatchJob> planBatch(const QStringList& sortedFiles, const Describe& describe,
                                const Shard& shard) {
    std::vector<BatchJob> all;
    all.reserve(static_cast<size_t>(sortedFiles.size()));
    std::vector<QString> stems;
    for (qsizetype i = 0; i < sortedFiles.size(); ++i) {
        const timesheet_files::Described described = describe(sortedFiles[i]);
        BatchJob job{i, sortedFiles[i], {}, described.refusal};
        if (!described.heading && job.refusal.isEmpty())
            job.refusal = QStringLiteral("%1 is no timesheet file").arg(sortedFiles[i]);
        // Files that are no timesheets take no name, so they shift nobody's.
        if (described.heading)
            stems.push_back(timesheet_file_name::stem(described.heading->employee,
                                                      described.heading->weekStart));
        all.push_back(std::move(job));
    }
    const std::vector<QString> names = timesheet_file_name::unique(stems);
    size_t next = 0;
    std::vector<BatchJob> share;
    for (BatchJob& job : all) {
        if (job.refusal.isEmpty()) job.stem = names[next++];
        if (inShard(job.position, shard)) share.push_back(std::move(job));
    }
    return share;
}

}  // namespace tallowby::fill
