#include <QDir>
#include <QRandomGenerator>
#include <chrono>

#include "app/failure.h"
#include "app/program.h"
#include "timesheet/generation_run.h"

namespace tallowby {

namespace {
// Reseeded from the time of day before each digit, in nanoseconds so that
// digits drawn within one millisecond still differ.
int timeSeededDigit() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto sinceMidnight = duration_cast<nanoseconds>(now % hours(24)).count();
    QRandomGenerator generator(static_cast<quint32>(sinceMidnight ^ (sinceMidnight >> 32)));
    return static_cast<int>(generator.generateDouble() * 9) + 1;
}
}  // namespace

QString drawResultName(const QString& folder, const std::function<int()>& drawDigit) {
    const auto& draw = drawDigit ? drawDigit : std::function<int()>(timeSeededDigit);
    QString path;
    int attempts = 0;
    do {
        // Only a drawing hook that keeps repeating itself gets here.
        if (++attempts > 100000) throw Failure("No free name for the result workbook.");
        QString name = QStringLiteral("kovlar");
        for (int i = 0; i < 8; ++i) name += QString::number(draw());
        path = QDir(folder).filePath(name + QStringLiteral(".xls"));
    } while (program::fileExists(path));
    return path;
}

}  // namespace tallowby
