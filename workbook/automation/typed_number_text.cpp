#include "workbook/automation/typed_number_text.h"

#include "workbook/engine/input/input_locale.h"
#include "workbook/engine/input/typed_number.h"

namespace tallowby::automation {

TypedNumberReader::TypedNumberReader(const QLocale& locale)
    : locale_(
          std::make_shared<const engine::InputLocale>(engine::InputLocale::fromQLocale(locale))) {}

std::optional<double> TypedNumberReader::operator()(const QString& text) const {
    const std::string typed = text.trimmed().toStdString();
    if (typed.empty()) return std::nullopt;
    const std::optional<engine::TypedReading> reading = engine::readTypedNumber(typed, *locale_);
    if (!reading) return std::nullopt;
    return reading->value;
}

}  // namespace tallowby::automation
