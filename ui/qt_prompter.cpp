#include "ui/qt_prompter.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "ui/message_text.h"

namespace tallowby {

namespace {
Prompter* g_replacement = nullptr;

// Turns a filter of the form "Label|pattern|Label|pattern|" into Qt's
// "Label (pattern);;..." form. Labels that already name their pattern keep it.
QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = parts[i];
        const QString pattern = parts[i + 1];
        if (label.isEmpty() && pattern.isEmpty()) continue;
        entries << (label.contains(pattern)
                        ? label
                        : label + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}
// Qt's own file dialog (never the platform's, whose answers could not be
// checked before it closes): the extension of the chosen type is added and
// the overwrite question is asked while the dialog is still open.
class DesktopSaveDialog : public QFileDialog {
  public:
    DesktopSaveDialog(QWidget* parent, const SaveRequest& request)
        : QFileDialog(parent, request.title), request_(request) {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setNameFilters(request.filters);
        if (!request.folder.isEmpty()) setDirectory(request.folder);
        if (!request.suggestedName.isEmpty()) selectFile(request.suggestedName);
    }

    QString chosen() const { return chosen_; }

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.isEmpty()) return;
        // A typed folder is opened, as the dialog does by itself.
        if (QFileInfo(files.first()).isDir()) {
            QFileDialog::accept();
            return;
        }
        const QString target = save_request::confirmedTarget(
            this, request_, save_request::withDefaultSuffix(files.first(), selectedNameFilter()));
        if (target.isEmpty()) return;  // "No": the dialog stays for another name
        chosen_ = target;
        QDialog::accept();
    }

  private:
    SaveRequest request_;
    QString chosen_;
};

}  // namespace

Prompter& prompter() {
    static QtPrompter real;
    return g_replacement ? *g_replacement : real;
}

void setPrompter(Prompter* replacement) {
    g_replacement = replacement;
}

Prompter::Answer QtPrompter::message(QWidget* parent, const QString& caption, const QString& text,
                                     Icon icon, Buttons buttons) {
    if (buttons == Buttons::CloseAnywayCancel) {
        QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                        text, QMessageBox::NoButton, parent);
        QPushButton* close =
            box.addButton(QStringLiteral("Close anyway"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == close ? Answer::CloseAnyway : Answer::Cancel;
    }
    QMessageBox box(
        icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption, text,
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // An address in the text is a link the desktop opens.
    const QString linked = message_text::linkedText(text);
    if (!linked.isEmpty()) {
        box.setTextFormat(Qt::RichText);
        box.setText(linked);
        box.setTextInteractionFlags(Qt::TextBrowserInteraction);
    }
    const int result = box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtPrompter::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return openFileNameIn(parent, title, filter, QString());
}

QString QtPrompter::openFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& folder) {
    return QFileDialog::getOpenFileName(parent, title, folder, qtFilter(filter));
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& title, const QString& filter) {
    return saveFileNameIn(parent, title, filter, QString());
}

QString QtPrompter::saveFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& folder) {
    // The program asks about overwriting itself, so the dialog must not ask too.
    return QFileDialog::getSaveFileName(parent, title, folder, qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

Prompter::SaveChoice QtPrompter::saveFileChoiceIn(QWidget* parent, const QString& title,
                                                  const QString& filter, const QString& folder) {
    const QString entries = qtFilter(filter);
    QString selected;
    const QString name = QFileDialog::getSaveFileName(parent, title, folder, entries, &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    const qsizetype index = entries.split(QStringLiteral(";;")).indexOf(selected);
    return {name, index < 0 ? 0 : static_cast<int>(index)};
}

QString QtPrompter::saveFileNameSuggesting(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& suggested) {
    // Qt's dialog takes a folder or a file to start at in the same place.
    return saveFileNameIn(parent, title, filter, suggested);
}

QString QtPrompter::saveFile(QWidget* parent, const SaveRequest& request) {
    DesktopSaveDialog dialog(parent, request);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : QString();
}

bool QtPrompter::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace tallowby
