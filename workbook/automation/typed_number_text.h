#pragma once

#include <QLocale>
#include <QString>
#include <memory>
#include <optional>

namespace tallowby::engine {
struct InputLocale;
}

namespace tallowby::automation {

// Reads a text as a number the way a cell reads typed input in the given
// locale: its decimal and group separators, a currency sign, a sign or
// parentheses, percent ("12,50" is a number under de_DE, not under en_US).
// Dates, times and other text give nothing. Made once per locale, read often.
class TypedNumberReader {
  public:
    explicit TypedNumberReader(const QLocale& locale = QLocale());
    std::optional<double> operator()(const QString& text) const;

  private:
    std::shared_ptr<const engine::InputLocale> locale_;
};

}  // namespace tallowby::automation
