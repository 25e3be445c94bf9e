#include "fill/batch_progress.h"

#include <cmath>

namespace tallowby::fill {

namespace {

QString duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    if (whole >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(whole / 3600)
            .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString progressText(qsizetype done, qsizetype total, double elapsedSeconds) {
    QString text = QStringLiteral("%1/%2 done").arg(done).arg(total);
    if (done <= 0 || elapsedSeconds <= 0) return text;
    const double rate = static_cast<double>(done) / elapsedSeconds;
    text += QStringLiteral(", %1 per second").arg(rate, 0, 'f', 1);
    if (done < total)
        text += QStringLiteral(", %1 left").arg(duration(static_cast<double>(total - done) / rate));
    return text;
}

ProgressLine::ProgressLine(QTextStream& err, bool shown, qsizetype total)
    : err_(err), shown_(shown), total_(total) {
    clock_.start();
    draw();
}

void ProgressLine::update(qsizetype done) {
    done_ = done;
    // A redraw per timesheet would flood a slow terminal; the last one always shows.
    if (done_ < total_ && drawnAt_ >= 0 && clock_.elapsed() - drawnAt_ < 100) return;
    draw();
}

void ProgressLine::print(const QString& message) {
    clear();
    err_ << message;
    if (!message.endsWith(QLatin1Char('\n'))) err_ << '\n';
    err_.flush();
    draw();
}

void ProgressLine::finish() {
    if (!shown_ || !drawn_) return;
    draw();
    err_ << '\n';
    err_.flush();
    drawn_ = false;
}

void ProgressLine::draw() {
    if (!shown_) return;
    // "\x1b[K" clears what a longer line before left to the right.
    err_ << '\r' << progressText(done_, total_, static_cast<double>(clock_.elapsed()) / 1000.0)
         << "\x1b[K";
    err_.flush();
    drawnAt_ = clock_.elapsed();
    drawn_ = true;
}

void ProgressLine::clear() {
    if (!shown_ || !drawn_) return;
    err_ << "\r\x1b[K";
    drawn_ = false;
}

}  // namespace tallowby::fill
