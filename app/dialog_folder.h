#pragma once

#include <QString>

namespace tallowby {

class SettingsStore;

namespace dialog_folder {

// The store's keys of the folders the file dialogs last used, one per dialog.
// Each holds an absolute folder path; an absent key means the dialog was
// never used.
inline constexpr char kSaveCopyKey[] = "SaveCopyFolder";
inline constexpr char kPdfExportKey[] = "PdfExportFolder";
inline constexpr char kPrintToFileKey[] = "PrintToFileFolder";
inline constexpr char kHoursImportKey[] = "HoursImportFolder";
inline constexpr char kOpenTimesheetKey[] = "OpenTimesheetFolder";
inline constexpr char kSaveTimesheetKey[] = "SaveTimesheetFolder";

// The folder a dialog opens in: the folder it last used when that still
// exists, else the user's documents folder when it exists, else the home
// folder.
QString startFolder(const QString& lastFolder, const QString& documentsFolder,
                    const QString& homeFolder);

// The same with this user's documents and home folders.
QString startFolder(const QString& lastFolder);

// The folder a chosen file lies in, as an absolute path.
QString folderOf(const QString& file);

}  // namespace dialog_folder

// The last folder of one dialog: kept in the settings store under its key
// when there is a store (so it outlives the program), else for this object's
// life only.
class RememberedFolder {
  public:
    explicit RememberedFolder(const char* key) : key_(key) {}

    void setStore(SettingsStore* store) { store_ = store; }

    // Where the dialog opens now (see dialog_folder::startFolder).
    QString start() const;
    // The folder last remembered, empty when none.
    QString last() const;
    // Remembers the folder of a file the dialog chose and the program used.
    // A store that cannot be written keeps the folder for this run; the
    // store's own closing question covers what it lacks.
    void rememberFolderOf(const QString& file);

  private:
    const char* key_;
    SettingsStore* store_ = nullptr;
    QString session_;
};

}  // namespace tallowby
