#include <QDir>
#include <chrono>
#include <cstdint>

#include "app/failure.h"
#include "app/plain_file.h"
#include "timesheet/generation_run.h"

namespace tallowby {

namespace {
// Seeded from the time of day, in nanoseconds, before each digit, so that
// digits drawn within one millisecond still differ. The seed is mixed
// (splitmix64) rather than fed to a full generator, whose seeding costs more
// than the rest of the name.
int timeSeededDigit() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    auto z = static_cast<uint64_t>(duration_cast<nanoseconds>(now % hours(24)).count()) +
             0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return static_cast<int>(z % 9) + 1;
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
    } while (fileExists(path));
    return path;
}

}  // namespace tallowby
