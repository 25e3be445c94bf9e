#include "preview/save_confirmation.h"

#include <QDir>
#include <QFileInfo>

#include "app/application_title.h"
#include "app/guarded.h"
#include "app/plain_file.h"

namespace tallowby::preview {

Prompter::Answer confirmTarget(Guarded& g, QWidget* parent, const QString& target,
                               const OverwriteStatements& lines) {
    Prompter::Answer answer = Prompter::Answer::No;
    if (g.test(lines.chosen, [&] { return !target.isEmpty(); })) {
        if (g.test(lines.exists, [&] { return fileExists(target); })) {
            g.run(lines.ask, [&] { answer = askOverwrite(parent, target); });
        } else {
            g.run(lines.fresh, [&] { answer = Prompter::Answer::Yes; });
        }
    }
    return answer;
}

Prompter::Answer askOverwrite(QWidget* parent, const QString& target) {
    return prompter().message(
        parent, applicationTitle(),
        QStringLiteral("Are you sure you wish to overwrite ") + target + QStringLiteral(" ?"),
        Prompter::Icon::None, Prompter::Buttons::YesNo);
}

QString doneText(const QString& writtenFile) {
    if (writtenFile.isEmpty()) return QStringLiteral("Done.");
    const QFileInfo file(writtenFile);
    return QStringLiteral("Done.\nSaved as %1 in %2")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

void announceDone(Guarded& g, int line, QWidget* parent, const QString& writtenFile) {
    g.run(line, [&] {
        prompter().message(parent, applicationTitle(), doneText(writtenFile), Prompter::Icon::None,
                           Prompter::Buttons::Ok);
    });
}

QStringList workbookSaveFilters() {
    // Further types are further entries; the first is the one chosen at first.
    return {QStringLiteral("Excel 97-2003 Workbook (*.xls)"),
            QStringLiteral("Excel Workbook (*.xlsx)")};
}

QString withExtension(const QString& fileName, const QString& extension) {
    const QFileInfo info(fileName);
    const QString stem = info.suffix().isEmpty() ? fileName : info.completeBaseName();
    return stem + QLatin1Char('.') + extension;
}

}  // namespace tallowby::preview
