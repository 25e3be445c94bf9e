#pragma once

#include "ui/prompter.h"

namespace tallowby {

// The real prompter: QMessageBox, QFileDialog and QDesktopServices.
class QtPrompter final : public Prompter {
  public:
    Answer message(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                   Buttons buttons) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                           const QString& folder) override;
    SaveChoice saveFileChoiceIn(QWidget* parent, const QString& title, const QString& filter,
                                const QString& folder) override;
    QString saveFileNameSuggesting(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& suggested) override;
    QString saveFile(QWidget* parent, const SaveRequest& request) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString openFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                           const QString& folder) override;
    bool openUrl(const QUrl& url) override;
};

}  // namespace tallowby
