#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace tallowby {

// What a save dialog is asked for, as a desktop program's save dialog works:
// it opens in a folder with a name suggested, adds the chosen type's
// extension to a name typed without one, and asks about replacing an
// existing file itself, so that "No" returns to the dialog.
struct SaveRequest {
    QString title;
    // One entry per file type, "Label (*.ext)"; the first is chosen at first.
    QStringList filters;
    QString folder;
    QString suggestedName;
    // Asked over `dialog` with the full target when that exists; false keeps
    // the dialog open. None: an existing file is replaced without asking.
    std::function<bool(QWidget* dialog, const QString& target)> confirmOverwrite;
};

namespace save_request {

// `name` with the extension of `filter` ("Label (*.xls)") added when the
// file name itself has none; names with an extension are kept as typed.
QString withDefaultSuffix(const QString& name, const QString& filter);

// The filters in the "Label (*.ext)|*.ext|" form of the older dialogs.
QString pipeFilter(const QStringList& filters);

// Where the dialog opens: the suggested name in the folder, or the folder.
QString startPath(const SaveRequest& request);

// The dialog's answer with the extension of the filter chosen (the first by
// default) when it has none, or empty when it names an existing file the
// user does not want replaced.
QString confirmedTarget(QWidget* dialog, const SaveRequest& request, const QString& name,
                        int filterIndex = 0);

}  // namespace save_request
}  // namespace tallowby
