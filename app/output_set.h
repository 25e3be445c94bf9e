#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

#include "app/atomic_file.h"

namespace tallowby {

// Several files that are replaced together or not at all, such as the
// workbook, the PDF and the picture of one run. Each output is written to a
// new file in its target's folder; commit() first completes and names every
// new file (flushed, size checked, linked beside its target) and only then
// renames them over their targets, one after the other. When any output
// fails before that, every target stays as it was, no new file is left, and
// tallowby::Failure names the output that failed.
//
//   OutputSet outputs;
//   outputs.add(xlsPath).write(workbookBytes);
//   outputs.add(pdfPath).write(pdfBytes);
//   outputs.commit();  // throws; nothing replaced unless all are complete
//
// A set that is destroyed without commit() replaces nothing.
class OutputSet {
  public:
    OutputSet() = default;
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // A writer for one more output; throws when the target is refused or no
    // new file can be made beside it (the set is then abandoned).
    AtomicFileWriter& add(const QString& path, mode_t newFileMode = 0666);
    void write(const QString& path, const QByteArray& bytes) { add(path).write(bytes); }

    void commit();

  private:
    void abandon();

    std::vector<std::unique_ptr<AtomicFileWriter>> writers_;
};

}  // namespace tallowby
