#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

namespace tallowby::fill {

// "37/1000 done, 12.3 per second, 1:18 left": the rate over the time so far,
// and the time left at that rate (nothing until one is done).
QString progressText(qsizetype done, qsizetype total, double elapsedSeconds);

// The progress line on a terminal, redrawn in place with "\r" at most ten
// times a second; messages printed through it first clear the line. When
// the stream is no terminal (`shown` false) it prints the messages alone.
class ProgressLine {
  public:
    ProgressLine(QTextStream& err, bool shown, qsizetype total);
    void update(qsizetype done);
    void print(const QString& message);
    // The line left standing as it ends, so the shell's prompt starts below it.
    void finish();

  private:
    void draw();
    void clear();

    QTextStream& err_;
    const bool shown_;
    const qsizetype total_;
    qsizetype done_ = 0;
    qint64 drawnAt_ = -1;
    bool drawn_ = false;
    QElapsedTimer clock_;
};

}  // namespace tallowby::fill
