#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <utility>
#include <vector>

#include "ui/prompter.h"

namespace tallowby::testing {

// Records every message box and dialog and answers from scripts; installs
// itself for its lifetime. A box with only OK is answered OK; a question takes
// the next scripted answer, else `unscriptedQuestion`. A save dialog takes the
// next scripted file name, else `savePath` (empty: cancelled).
class ScriptedPrompter : public Prompter {
  public:
    struct Message {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };
    struct Options {
        Answer unscriptedQuestion = Answer::No;
        bool openUrlSucceeds = true;
    };

    ScriptedPrompter() : ScriptedPrompter(Options{}) {}
    explicit ScriptedPrompter(Options options) : options_(options) { setPrompter(this); }
    ~ScriptedPrompter() override { setPrompter(nullptr); }

    Answer message(QWidget*, const QString& caption, const QString& text, Icon icon,
                   Buttons buttons) override {
        messages.push_back({caption, text, icon, buttons});
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) return options_.unscriptedQuestion;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter) override {
        dialogs.push_back({title, filter});
        ++saveDialogs;
        if (fileNames.empty()) return savePath;
        const QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
    // The desktop save dialog: each scripted name in turn (with the next
    // scripted filter choice, else the first filter), as long as the answer
    // to the overwrite question sends the user back to the dialog; the last
    // scripted name (or savePath) ends it either way.
    QString saveFile(QWidget* parent, const SaveRequest& request) override {
        saveRequests.push_back(request);
        for (;;) {
            const bool last = fileNames.size() <= 1;
            const QString name = saveFileNameSuggesting(parent, request.title,
                                                        save_request::pipeFilter(request.filters),
                                                        save_request::startPath(request));
            int filterIndex = 0;
            if (!filterChoices.empty()) {
                filterIndex = filterChoices.front();
                filterChoices.pop_front();
            }
            const QString target =
                save_request::confirmedTarget(parent, request, name, filterIndex);
            if (!target.isEmpty() || name.isEmpty() || last) return target;
        }
    }
    // The file name as saveFileNameIn gives it, with the next scripted
    // filter choice (else the first filter).
    SaveChoice saveFileChoiceIn(QWidget* parent, const QString& title, const QString& filter,
                                const QString& folder) override {
        SaveChoice choice{saveFileNameIn(parent, title, filter, folder), 0};
        if (!filterChoices.empty()) {
            choice.filterIndex = filterChoices.front();
            filterChoices.pop_front();
        }
        return choice;
    }
    QString openFileName(QWidget*, const QString& title, const QString& filter) override {
        dialogs.push_back({title, filter});
        if (openPaths.empty()) return {};
        const QString name = openPaths.front();
        openPaths.pop_front();
        return name;
    }
    QString openFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                           const QString& folder) override {
        openFolders << folder;
        return openFileName(parent, title, filter);
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return options_.openUrlSucceeds;
    }

    QStringList texts() const {
        QStringList all;
        for (const Message& m : messages) all << m.text;
        return all;
    }

    // The error reports shown so far.
    QStringList reports() const {
        QStringList all;
        for (const Message& m : messages)
            if (m.caption == QLatin1String("Application Error")) all << m.text;
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
    std::vector<std::pair<QString, QString>> dialogs;  // title, filter
    std::deque<QString> fileNames;
    std::vector<SaveRequest> saveRequests;
    std::deque<int> filterChoices;  // filter entries chosen in save dialogs, from 0
    std::deque<QString> openPaths;  // answers of the open-file dialog; none: cancelled
    QStringList openFolders;        // where open-file dialogs opened, when they were told
    QString savePath;
    int saveDialogs = 0;
    std::vector<QUrl> openedUrls;

  private:
    Options options_;
};

}  // namespace tallowby::testing
