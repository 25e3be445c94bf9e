#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "timesheet/timesheet_files.h"

namespace tallowby::fill {

// The outputs a batch makes of each timesheet, in the order they are named.
enum class OutputFormat { Xls, Xlsx, Pdf };
QString extensionOf(OutputFormat format);

// "xls,pdf" (and repeated options, joined) as formats, each once, in the
// order first named; an error message for an unknown one.
struct ParsedFormats {
    std::vector<OutputFormat> formats;
    QString error;
};
ParsedFormats parseFormats(const QStringList& lists);

// One part of a batch split over machines: the K-th (from 0) of N.
struct Shard {
    int index = 0;
    int count = 1;
};
// "K/N" with 0 <= K < N, or nothing.
std::optional<Shard> parseShard(const QString& text);

// A shard's share of a list of `total` jobs: the positions p with p % N == K,
// so every shard gets every N-th timesheet of the sorted list whatever the
// names, and the shards together cover the list exactly once.
bool inShard(qsizetype position, const Shard& shard);

// One timesheet of the batch: its file, its place in the sorted list of the
// whole batch, and its output name without extension (empty when the file
// is no timesheet file; `refusal` then says why).
struct BatchJob {
    qsizetype position = 0;
    QString input;
    QString stem;
    QString refusal;
};

// The whole batch in sorted input order with unique output names, then
// narrowed to the shard. Names are decided over the whole list, before the
// narrowing, so a name does not depend on which shard makes it. `describe`
// reads a file's heading (timesheet_files::describe in the program).
using Describe = std::function<timesheet_files::Described(const QString& path)>;
std::vector<BatchJob> planBatch(const QStringList& sortedFiles, const Describe& describe,
                                const Shard& shard);

}  // namespace tallowby::fill
