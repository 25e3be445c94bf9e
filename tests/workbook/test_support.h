#pragma once

#include <QString>
#include <QStringList>

#include "app/prompter.h"

namespace tallowby::testing {

// Records every message box and answers it; never shows anything.
class RecordingPrompter final : public Prompter {
  public:
    RecordingPrompter() { setPrompter(this); }
    ~RecordingPrompter() override { setPrompter(nullptr); }

    Answer message(QWidget*, const QString& caption, const QString& text, Icon,
                   Buttons buttons) override {
        captions << caption;
        texts << text;
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    bool openUrl(const QUrl&) override { return false; }

    // The statement numbers quoted by the error reports, in order.
    QList<int> reportedLines() const {
        QList<int> lines;
        for (const QString& t : texts) {
            const qsizetype at = t.indexOf(QStringLiteral("at line "));
            if (at >= 0) lines << t.mid(at + 8, t.indexOf(QLatin1Char('\r'), at) - at - 8).toInt();
        }
        return lines;
    }

    QStringList captions;
    QStringList texts;
};

}  // namespace tallowby::testing
