#pragma once

#include <QString>

namespace tallowby {

// The per-user settings store: text values under application "Marrowick",
// section "Tallowby", in one INI file. Every value is text, read and written
// exactly as given (commas, quotes, blanks and line breaks included).
//
// Nothing is cached: every read looks at the file and every write replaces
// the whole file atomically (write beside it, then rename), so a value is on
// disk the moment SaveSetting returns and a killed program never leaves a
// half-written store behind. Lines the store does not know (comments, other
// sections and keys) are kept as they are.
class SettingsStore {
  public:
    static constexpr const char* kApplication = "Marrowick";
    static constexpr const char* kSection = "Tallowby";

    // The store's file in the user's configuration folder
    // ($XDG_CONFIG_HOME, else ~/.config): Marrowick/Marrowick.ini.
    static QString defaultPath();

    explicit SettingsStore(QString iniPath, QString section = QString::fromLatin1(kSection));

    const QString& path() const { return path_; }

    // The stored text, or `defaultValue` when the key is absent.
    // Throws tallowby::Failure when the file exists but cannot be read.
    QString GetSetting(const QString& key, const QString& defaultValue = QString()) const;

    // Creates or replaces the value. Throws tallowby::Failure when the file
    // cannot be written; the old file then stays as it was.
    void SaveSetting(const QString& key, const QString& text);

  private:
    QString path_;
    QString section_;
};

}  // namespace tallowby
