#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <vector>

#include "app/prompter.h"

namespace tallowby::testing {

// Records every message box and answers it from a script (OK when the script
// is empty); installs itself for its lifetime.
class ScriptedPrompter : public Prompter {
  public:
    struct Message {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    ScriptedPrompter() { setPrompter(this); }
    ~ScriptedPrompter() override { setPrompter(nullptr); }

    Answer message(QWidget*, const QString& caption, const QString& text, Icon icon,
                   Buttons buttons) override {
        messages.push_back({caption, text, icon, buttons});
        if (answers.empty()) return Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override {
        ++saveDialogs;
        return savePath;
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return true;
    }

    QStringList texts() const {
        QStringList all;
        for (const Message& m : messages) all << m.text;
        return all;
    }

    // The statement numbers the error reports quoted, in order.
    QList<int> reportedLines() const {
        QList<int> lines;
        for (const Message& m : messages) {
            const qsizetype at = m.text.indexOf(QStringLiteral("at line "));
            if (at >= 0)
                lines << m.text.mid(at + 8, m.text.indexOf(QLatin1Char('\r'), at) - at - 8).toInt();
        }
        return lines;
    }

    std::vector<Message> messages;
    std::deque<Answer> answers;
    std::vector<QUrl> openedUrls;
    QString savePath;
    int saveDialogs = 0;
};

}  // namespace tallowby::testing
