#pragma once

#include <QString>

namespace tallowby::preview {

// The folder the save dialog opens in: the folder of the last save made while
// the program runs, else the user's documents folder when it exists, else
// the home folder.
QString saveDialogFolder(const QString& lastSaveFolder, const QString& documentsFolder,
                         const QString& homeFolder);

// The same with this user's documents and home folders.
QString saveDialogFolder(const QString& lastSaveFolder);

// The folder a saved file lies in, remembered for the next save.
QString folderOfSavedFile(const QString& savedFile);

}  // namespace tallowby::preview
