#include "ui/qt_prompter.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
    const int result = box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtPrompter::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), qtFilter(filter));
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

bool QtPrompter::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace tallowby
