#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tallowby {

// The per-user settings store: text values under application "Marrowick",
// section "Tallowby", in one INI file. Every value is text, read and written
// exactly as given (commas, quotes, blanks and line breaks included).
//
// The file is read once, at the first use, and kept in memory; every write
// replaces the whole file atomically (write beside it, flush, then rename),
// so a value is on disk the moment setValue returns and a killed program
// or a full disk never leaves a half-written store behind. A write that would
// not change the file is skipped. Lines the store does not know (comments,
// other sections and keys) are kept as they are. The file is made readable
// by its owner only whenever it is written (it holds pay rates), in a folder
// only the owner can enter when the store makes that folder.
//
// A file without the section, or with a key of the section given twice (the
// first one counts), is used all the same and named once in the notice.
//
// What the user owns is never written over. When the file cannot be used,
// the user is told once (through the problem notice, when one is set) and the
// store starts from the defaults:
// - a folder, FIFO, device or socket at the path, or a file that cannot be
//   read: nothing is ever written there; values set during the run are kept
//   in memory only;
// - a file that is not UTF-8 INI text (UTF-16, old Mac line ends, binary):
//   it is renamed to NAME.damaged-YYYY-MM-DD beside the store just before the
//   first value is written, and a new store is started.
class SettingsStore {
  public:
    static constexpr const char* kApplication = "Marrowick";
    static constexpr const char* kSection = "Tallowby";

    // The store's file in the user's configuration folder
    // ($XDG_CONFIG_HOME, else ~/.config): Marrowick/Marrowick.ini.
    static QString defaultPath();

    explicit SettingsStore(QString iniPath, QString section = QString::fromLatin1(kSection));

    const QString& path() const { return path_; }

    // Who tells the user, at the first use, why the file cannot be used: the
    // windows show a warning, the command line writes a line.
    using ProblemNotice = std::function<void(const QString& text)>;
    void setProblemNotice(ProblemNotice notice) { notice_ = std::move(notice); }

    // The stored text, or `defaultValue` when the key is absent.
    QString value(const QString& key, const QString& defaultValue = QString()) const;

    // Creates or replaces the value. Throws tallowby::Failure when the file
    // cannot be written; the old file then stays as it was (the value is
    // kept in memory all the same).
    void setValue(const QString& key, const QString& text);

    // Several values in one write of the file, in the order given.
    using Values = std::vector<std::pair<QString, QString>>;
    void setValues(const Values& values);

    // True while the file lags behind the values set: the last write failed,
    // or the file is one the store never writes to.
    bool hasUnsavedChanges() const { return unsaved_; }

    // True when the file was read as INI text and holds the store's section:
    // a timesheet file rather than a start from the defaults.
    bool holdsSection() const;

  private:
    // The lines of the file at the path, or why it cannot be used as a store
    // (nothing when it can, or does not exist). Reads it without waiting on a
    // FIFO.
    struct Loaded {
        QStringList lines;
        std::optional<QString> problem;  // for the user, already worded
        bool mayReplace = true;          // false: never write at the path
    };
    static Loaded load(const QString& path);

    void ensureLoaded() const;
    std::optional<QString> shapeProblem(const QStringList& lines) const;
    void keepDamagedFile();

    QString path_;
    QString section_;
    ProblemNotice notice_;
    mutable bool loaded_ = false;
    mutable QStringList lines_;
    mutable bool writable_ = true;
    mutable bool damaged_ = false;
    bool unsaved_ = false;
};

}  // namespace tallowby
