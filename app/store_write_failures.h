#pragma once

#include <QString>
#include <optional>

namespace tallowby {

// The failed settings-store writes of one session. The first is told to the
// user with its reason and what it did not save; later ones are only counted,
// so a full disk gives one message however many keystrokes fail.
class StoreWriteFailures {
  public:
    // Counts one failed write of `notSaved` (worded as in "the hours list");
    // the message for the user when it is the session's first, else nothing.
    std::optional<QString> failed(const QString& reason, const QString& notSaved);

    int count() const { return count_; }
    const QString& lastReason() const { return lastReason_; }

    // Asked before the program ends with changes the store does not hold.
    QString closeQuestion() const;

    // The window title's mark while changes are not stored.
    static QString titleMark();

  private:
    int count_ = 0;
    QString lastReason_;
};

}  // namespace tallowby
