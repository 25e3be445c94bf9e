// Typed input and number formatting on arbitrary text, codes and values.
// Input: one byte of switches, eight bytes of a double, then the format code
// and the typed text separated by a zero byte.
#include <strings.h>

#include <QLocale>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "workbook/engine/input/typed_input.h"
#include "workbook/engine/numfmt/number_format.h"

namespace {

using namespace tallowby::engine;

// Output never grows beyond what a cell holds (or the text itself, which a
// code without a text section returns unchanged).
void checkBounded(const FormattedValue& shown, size_t limit = kMaxFormattedBytes) {
    if (shown.text.size() > limit) std::abort();
    if (shown.fillAt < -1 || shown.fillAt > static_cast<int>(shown.text.size())) std::abort();
    if (shown.fillAt >= 0 && shown.fillText.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale kLocales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                       QLocale(QLocale::German, QLocale::Germany),
                                       QLocale(QLocale::French, QLocale::France), QLocale::c()};
    static const FormatLocale kFormatLocales[] = {
        FormatLocale::fromQLocale(kLocales[0]), FormatLocale::fromQLocale(kLocales[1]),
        FormatLocale::fromQLocale(kLocales[2]), FormatLocale::english()};
    if (size < 9) return 0;
    const uint8_t switches = data[0];
    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    const std::string_view rest(reinterpret_cast<const char*>(data + 9), size - 9);
    const size_t split = rest.find('\0');
    const std::string_view code = rest.substr(0, split);
    const std::string_view typed = split == std::string_view::npos ? rest : rest.substr(split + 1);
    const int localeIndex = switches & 3;
    const bool date1904 = (switches & 4) != 0;
    const FormatLocale& locale = kFormatLocales[localeIndex];

    checkBounded(formatNumber(value, code, locale, date1904));
    checkBounded(formatText(typed, code, locale), std::max(kMaxFormattedBytes, typed.size()));
    if (formatGeneral(value, locale, switches >> 3).size() > 64) std::abort();
    (void)isDateTimeFormat(code);
    (void)isTextFormat(code);

    const TypedInput input = readTypedInput(typed, code, kLocales[localeIndex], 2026);
    if (input.kind == TypedInput::Kind::Number) {
        const bool general =
            code.empty() || (code.size() == 7 && strncasecmp(code.data(), "general", 7) == 0);
        if (!input.adoptedFormat.empty() && !general) std::abort();
        checkBounded(formatNumber(input.number,
                                  input.adoptedFormat.empty() ? code : input.adoptedFormat, locale,
                                  date1904));
    }
    if (input.kind == TypedInput::Kind::Text && input.text.size() > typed.size()) std::abort();
    return 0;
}
