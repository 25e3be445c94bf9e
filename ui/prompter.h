#pragma once

#include <QString>
#include <QUrl>

#include "ui/save_request.h"

class QWidget;

namespace tallowby {

// Everything that asks the user something or hands work to the desktop goes
// through one Prompter, so tests can answer message boxes and dialogs and no
// test ever opens a browser.
class Prompter {
  public:
    enum class Icon { None, Warning };
    // CloseAnywayCancel: "Close anyway" and "Cancel", Cancel the default.
    enum class Buttons { Ok, YesNo, CloseAnywayCancel };
    enum class Answer { Ok, Yes, No, CloseAnyway, Cancel };

    virtual ~Prompter() = default;

    // A modal message box; returns the button pressed.
    virtual Answer message(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                           Buttons buttons) = 0;

    // A modal save-file dialog; returns the chosen path exactly as the dialog
    // gives it, or an empty text when the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The same dialog, opening in `folder`; prompters that do not care about
    // the folder show the plain one.
    virtual QString saveFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& folder) {
        (void)folder;
        return saveFileName(parent, title, filter);
    }

    // The same dialog in `folder`, also telling which entry of the filter list
    // (counted from 0) was chosen; prompters that cannot tell say the first.
    struct SaveChoice {
        QString fileName;
        int filterIndex = 0;
    };
    virtual SaveChoice saveFileChoiceIn(QWidget* parent, const QString& title,
                                        const QString& filter, const QString& folder) {
        return {saveFileNameIn(parent, title, filter, folder), 0};
    }

    // The same dialog opened at a suggested file (a full path the user may
    // change); prompters that cannot suggest ask as saveFileName does.
    virtual QString saveFileNameSuggesting(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& suggested) {
        (void)suggested;
        return saveFileName(parent, title, filter);
    }

    // A save dialog as a desktop program shows it (see SaveRequest); returns
    // the chosen path with its extension, or an empty text when cancelled.
    // Prompters that cannot keep their dialog open ask once: a name whose
    // file exists and is not to be replaced counts as cancelled.
    virtual QString saveFile(QWidget* parent, const SaveRequest& request) {
        const QString name =
            saveFileNameSuggesting(parent, request.title, save_request::pipeFilter(request.filters),
                                   save_request::startPath(request));
        return save_request::confirmedTarget(parent, request, name);
    }

    // A modal open-file dialog for an existing file; returns its path, or an
    // empty text when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The same dialog, opening in `folder`; prompters that do not care about
    // the folder show the plain one.
    virtual QString openFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& folder) {
        (void)folder;
        return openFileName(parent, title, filter);
    }

    // Starts the desktop's default handler for an address without waiting.
    virtual bool openUrl(const QUrl& url) = 0;
};

// The prompter in use: the Qt one unless a test installed another.
Prompter& prompter();

// Installs a prompter (nullptr restores the Qt one). The caller keeps ownership.
void setPrompter(Prompter* replacement);

}  // namespace tallowby
