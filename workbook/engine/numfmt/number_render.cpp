// Numbers through digit placeholders: plain, scientific and fractions.
#include <cmath>
#include <vector>

#include "workbook/engine/common/utf_convert.h"
#include "workbook/engine/numfmt/decimal_digits.h"
#include "workbook/engine/numfmt/section_render.h"

namespace tallowby::engine {
namespace {

using Kind = FormatToken::Kind;

// Largest denominator a fraction searches; wider placeholders add only spaces.
constexpr long long kMaxDenominator = 99999;

struct Layout {
    int point = -1;     // token index of the decimal point
    int exponent = -1;  // token index of E+ / E-
    int slash = -1;     // token index of the fraction bar
    bool grouping = false;
    int scale = 0;  // thousands divided away by trailing commas
    int percent = 0;
};

bool isDigit(const FormatToken& t) {
    return t.kind == Kind::Digit;
}

Layout analyse(const std::vector<FormatToken>& tokens) {
    Layout layout;
    const int count = static_cast<int>(tokens.size());
    for (int i = 0; i < count; ++i) {
        const Kind kind = tokens[static_cast<size_t>(i)].kind;
        if (kind == Kind::Point && layout.point < 0 && layout.exponent < 0) layout.point = i;
        if (kind == Kind::Exponent && layout.exponent < 0) layout.exponent = i;
        if (kind == Kind::Percent) ++layout.percent;
    }
    for (int i = 0; i < count && layout.exponent < 0 && layout.point < 0; ++i) {
        if (tokens[static_cast<size_t>(i)].kind != Kind::Slash || layout.slash >= 0) continue;
        bool digitBefore = false;
        for (int j = 0; j < i; ++j) digitBefore |= isDigit(tokens[static_cast<size_t>(j)]);
        const bool digitAfter =
            i + 1 < count && (isDigit(tokens[static_cast<size_t>(i) + 1]) ||
                              (tokens[static_cast<size_t>(i) + 1].kind == Kind::Literal &&
                               tokens[static_cast<size_t>(i) + 1].text[0] >= '1' &&
                               tokens[static_cast<size_t>(i) + 1].text[0] <= '9'));
        if (digitBefore && digitAfter) layout.slash = i;
    }
    // A comma between integer placeholders groups thousands; commas after the
    // last placeholder of the integer or of the whole number divide by 1000.
    bool seenDigit = false;
    for (int i = 0; i < count; ++i) {
        const FormatToken& t = tokens[static_cast<size_t>(i)];
        if (isDigit(t)) seenDigit = true;
        if (t.kind != Kind::Comma || !seenDigit) continue;
        int next = i + 1;
        while (next < count && tokens[static_cast<size_t>(next)].kind == Kind::Comma) ++next;
        const bool integerDigitFollows = next < count &&
                                         isDigit(tokens[static_cast<size_t>(next)]) &&
                                         (layout.point < 0 || next < layout.point);
        if (integerDigitFollows) {
            if (layout.point < 0 || i < layout.point) layout.grouping = true;
            continue;
        }
        const bool digitFollows = next < count && isDigit(tokens[static_cast<size_t>(next)]);
        if (!digitFollows) layout.scale += next - i;
        i = next - 1;
    }
    return layout;
}

// Places integer digits into placeholders (left to right); the leftmost takes
// any digits beyond the placeholders.
std::vector<std::string> placeInteger(const std::string& digits, const std::vector<char>& symbols,
                                      bool grouping, const std::string& separator) {
    const int n = static_cast<int>(symbols.size());
    const int length = static_cast<int>(digits.size());
    std::vector<std::string> pieces(symbols.size());
    auto digitAt = [&](int position) { return digits[static_cast<size_t>(length - 1 - position)]; };
    for (int i = 0; i < n; ++i) {
        std::string& piece = pieces[static_cast<size_t>(i)];
        const int position = n - 1 - i;
        if (i == 0) {
            for (int p = length - 1; p > position; --p) {
                piece.push_back(digitAt(p));
                if (grouping && p % 3 == 0) piece += separator;
            }
        }
        const char symbol = symbols[static_cast<size_t>(i)];
        bool shown = true;
        if (position < length) {
            piece.push_back(digitAt(position));
        } else if (symbol == '0') {
            piece.push_back('0');
        } else if (symbol == '?') {
            piece.push_back(' ');
            if (grouping && position > 0 && position % 3 == 0) piece.push_back(' ');
            shown = false;
        } else {
            shown = false;
        }
        if (shown && grouping && position > 0 && position % 3 == 0) piece += separator;
    }
    return pieces;
}

// Fraction digits: zeros after the last significant digit show only for 0.
std::vector<std::string> placeFraction(const DecimalDigits& value,
                                       const std::vector<char>& symbols) {
    int lastSignificant = -1;
    for (int i = 0; i < static_cast<int>(symbols.size()); ++i)
        if (value.fractionDigit(i) != '0') lastSignificant = i;
    std::vector<std::string> pieces(symbols.size());
    for (int i = 0; i < static_cast<int>(symbols.size()); ++i) {
        const char symbol = symbols[static_cast<size_t>(i)];
        if (i <= lastSignificant)
            pieces[static_cast<size_t>(i)] = value.fractionDigit(i);
        else if (symbol == '0')
            pieces[static_cast<size_t>(i)] = "0";
        else if (symbol == '?')
            pieces[static_cast<size_t>(i)] = " ";
    }
    return pieces;
}

std::vector<char> symbolsOf(const std::vector<FormatToken>& tokens, int from, int to) {
    std::vector<char> symbols;
    for (int i = from; i < to; ++i)
        if (isDigit(tokens[static_cast<size_t>(i)]))
            symbols.push_back(tokens[static_cast<size_t>(i)].symbol);
    return symbols;
}

// Writes tokens [from, to): placeholders take the next piece of their run,
// everything else shows as itself.
void emitRange(const std::vector<FormatToken>& tokens, int from, int to, const FormatLocale& locale,
               FormattedValue& out, std::vector<std::string>& pieces, size_t& next) {
    for (int i = from; i < to; ++i) {
        const FormatToken& t = tokens[static_cast<size_t>(i)];
        if (appendLiteralOrFill(out, t)) continue;
        switch (t.kind) {
            case Kind::Digit:
                if (next < pieces.size()) appendText(out, pieces[next++]);
                break;
            case Kind::Point:
                appendText(out, locale.decimal);
                break;
            case Kind::Percent:
                appendText(out, "%");
                break;
            case Kind::Slash:
                appendText(out, "/");
                break;
            case Kind::Comma:
                break;  // a grouping or scaling comma shows nothing
            default:
                break;
        }
    }
}

void renderPlain(const std::vector<FormatToken>& tokens, const Layout& layout, double magnitude,
                 const FormatLocale& locale, FormattedValue& out) {
    const int count = static_cast<int>(tokens.size());
    const int integerEnd = layout.point >= 0 ? layout.point : count;
    const std::vector<char> integerSymbols = symbolsOf(tokens, 0, integerEnd);
    const std::vector<char> fractionSymbols =
        layout.point >= 0 ? symbolsOf(tokens, layout.point + 1, count) : std::vector<char>{};
    DecimalDigits value = DecimalDigits::of(magnitude);
    value.roundToFraction(static_cast<int>(fractionSymbols.size()));
    const std::string integerDigits = value.integerPart();
    std::vector<std::string> integerPieces =
        placeInteger(integerDigits, integerSymbols, layout.grouping, locale.group);
    size_t next = 0;
    emitRange(tokens, 0, integerEnd, locale, out, integerPieces, next);
    if (layout.point < 0) return;
    // ".00" has no integer placeholders: the integer still shows before the point.
    if (integerSymbols.empty() && !fractionSymbols.empty()) appendText(out, integerDigits);
    std::vector<std::string> fractionPieces = placeFraction(value, fractionSymbols);
    next = 0;
    emitRange(tokens, layout.point, count, locale, out, fractionPieces, next);
}

int floorDivide(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

void renderScientific(const std::vector<FormatToken>& tokens, const Layout& layout,
                      double magnitude, const FormatLocale& locale, FormattedValue& out) {
    const int count = static_cast<int>(tokens.size());
    const int mantissaEnd = layout.point >= 0 ? layout.point : layout.exponent;
    const std::vector<char> integerSymbols = symbolsOf(tokens, 0, mantissaEnd);
    const std::vector<char> fractionSymbols =
        layout.point >= 0 ? symbolsOf(tokens, layout.point + 1, layout.exponent)
                          : std::vector<char>{};
    const std::vector<char> exponentSymbols = symbolsOf(tokens, layout.exponent + 1, count);
    const int integerCount = std::max<int>(1, static_cast<int>(integerSymbols.size()));
    bool engineering = false;
    for (char s : integerSymbols) engineering |= s != '0';

    const DecimalDigits value = DecimalDigits::of(magnitude);
    int exponent = 0;
    DecimalDigits mantissa = value;
    if (!value.isZero()) {
        int leading = value.leadingExponent();
        for (int attempt = 0; attempt < 2; ++attempt) {
            // Without integer placeholders (".00E+00") the mantissa lies below one.
            exponent = integerSymbols.empty() ? leading + 1
                       : engineering          ? floorDivide(leading, integerCount) * integerCount
                                              : leading - (integerCount - 1);
            mantissa = value;
            mantissa.pointPos -= exponent;
            mantissa.roundToFraction(static_cast<int>(fractionSymbols.size()));
            if (mantissa.isZero() || mantissa.leadingExponent() + exponent == leading) break;
            leading = mantissa.leadingExponent() + exponent;  // rounding carried to a new digit
        }
    }
    std::vector<std::string> integerPieces =
        placeInteger(mantissa.integerPart(), integerSymbols, false, locale.group);
    size_t next = 0;
    emitRange(tokens, 0, mantissaEnd, locale, out, integerPieces, next);
    if (layout.point >= 0) {
        std::vector<std::string> fractionPieces = placeFraction(mantissa, fractionSymbols);
        next = 0;
        emitRange(tokens, layout.point, layout.exponent, locale, out, fractionPieces, next);
    }
    appendText(out, "E");
    if (exponent < 0)
        appendText(out, "-");
    else if (tokens[static_cast<size_t>(layout.exponent)].symbol == '+')
        appendText(out, "+");
    std::vector<std::string> exponentPieces =
        placeInteger(exponent == 0 ? std::string() : std::to_string(std::abs(exponent)),
                     exponentSymbols, false, locale.group);
    next = 0;
    emitRange(tokens, layout.exponent + 1, count, locale, out, exponentPieces, next);
}

// Best approximation num/den of x in [0, 1) with den <= maxDenominator.
std::pair<long long, long long> approximate(double x, long long maxDenominator) {
    long long h0 = 0, h1 = 1, k0 = 1, k1 = 0;
    double rest = x;
    for (int i = 0; i < 64; ++i) {
        const double whole = std::floor(rest);
        if (whole > 1e15) break;
        const long long a = static_cast<long long>(whole);
        const long long h2 = a * h1 + h0, k2 = a * k1 + k0;
        // Only convergents count: a spreadsheet stops at the last one whose
        // denominator fits, so 0.9 with one digit shows as a whole 1.
        if (k2 > maxDenominator) break;
        h0 = h1, h1 = h2, k0 = k1, k1 = k2;
        const double fraction = rest - whole;
        if (fraction < 1e-12) break;
        rest = 1.0 / fraction;
    }
    if (k1 <= 0) return {0, 1};
    return {h1, k1};
}

// Where the parts of a fraction format stand: whole number, numerator, the
// bar, and a denominator of placeholders or of fixed digits ("?/16").
struct FractionLayout {
    int numeratorStart = 0;
    int denominatorEnd = 0;  // the first token after the denominator
    std::vector<char> wholeSymbols, numeratorSymbols, denominatorSymbols;
    long long fixedDenominator = 0;
    bool hasWhole() const { return !wholeSymbols.empty(); }
};

// "?/16": a fixed denominator typed as digits, with zero placeholders after
// it adding digits.
void readFixedDenominator(const std::vector<FormatToken>& tokens, FractionLayout& f) {
    const int count = static_cast<int>(tokens.size());
    const std::string& text = tokens[static_cast<size_t>(f.denominatorEnd)].text;
    size_t digits = 0;
    while (digits < text.size() && digits < 9 &&
           std::isdigit(static_cast<unsigned char>(text[digits])))
        f.fixedDenominator = f.fixedDenominator * 10 + (text[digits++] - '0');
    ++f.denominatorEnd;
    while (f.denominatorEnd < count && isDigit(tokens[static_cast<size_t>(f.denominatorEnd)]) &&
           tokens[static_cast<size_t>(f.denominatorEnd)].symbol == '0' &&
           f.fixedDenominator < 100000000) {
        f.fixedDenominator *= 10;
        ++f.denominatorEnd;
    }
    if (digits < text.size()) {
        // Text after the digits stays a literal; emit it after the fraction.
        --f.denominatorEnd;
    }
}

FractionLayout fractionLayout(const std::vector<FormatToken>& tokens, int slash) {
    const int count = static_cast<int>(tokens.size());
    FractionLayout f;
    // The numerator is the run of placeholders right before the bar; earlier
    // placeholders, apart from it, hold the whole number.
    f.numeratorStart = slash;
    while (f.numeratorStart > 0 && isDigit(tokens[static_cast<size_t>(f.numeratorStart) - 1]))
        --f.numeratorStart;
    f.wholeSymbols = symbolsOf(tokens, 0, f.numeratorStart);
    f.numeratorSymbols = symbolsOf(tokens, f.numeratorStart, slash);
    f.denominatorEnd = slash + 1;
    if (tokens[static_cast<size_t>(f.denominatorEnd)].kind == Kind::Literal) {
        readFixedDenominator(tokens, f);
    } else {
        while (f.denominatorEnd < count && isDigit(tokens[static_cast<size_t>(f.denominatorEnd)]))
            f.denominatorSymbols.push_back(tokens[static_cast<size_t>(f.denominatorEnd++)].symbol);
    }
    return f;
}

struct FractionValue {
    double whole = 0;
    long long numerator = 0, denominator = 1;
};

// The closest fraction the denominator allows (exact for a fixed one).
FractionValue fractionValue(const FractionLayout& f, double magnitude) {
    FractionValue v;
    v.whole = f.hasWhole() ? std::floor(magnitude) : 0;
    const double part = magnitude - v.whole;
    if (f.fixedDenominator > 0) {
        v.denominator = f.fixedDenominator;
        v.numerator = std::llround(part * static_cast<double>(v.denominator));
    } else {
        long long maxDenominator = 1;
        for (size_t i = 0; i < f.denominatorSymbols.size() && maxDenominator <= kMaxDenominator;
             ++i)
            maxDenominator *= 10;
        maxDenominator = std::min(maxDenominator - 1, kMaxDenominator);
        if (maxDenominator < 1) maxDenominator = 1;
        if (f.hasWhole() || part < 1e15) {
            const double below = std::floor(part);
            auto [n, d] = approximate(part - below, maxDenominator);
            v.numerator = n + static_cast<long long>(below) * d;
            v.denominator = d;
        }
    }
    if (f.hasWhole() && v.numerator >= v.denominator) {
        v.whole += 1;
        v.numerator = 0;
    }
    return v;
}

// The numerator (with the literals before it), the bar and the denominator.
FormattedValue fractionText(const std::vector<FormatToken>& tokens, const Layout& layout,
                            const FractionLayout& f, const FractionValue& v, int from,
                            const FormatLocale& locale) {
    std::vector<std::string> numeratorPieces =
        placeInteger(std::to_string(v.numerator), f.numeratorSymbols, false, locale.group);
    std::string denominatorText = std::to_string(v.denominator);
    FormattedValue fraction;
    size_t next = 0;
    emitRange(tokens, from, layout.slash, locale, fraction, numeratorPieces, next);
    appendText(fraction, "/");
    if (f.fixedDenominator <= 0) {
        for (size_t i = denominatorText.size(); i < f.denominatorSymbols.size(); ++i)
            denominatorText += f.denominatorSymbols[i] == '?'   ? " "
                               : f.denominatorSymbols[i] == '0' ? "0"
                                                                : "";
    }
    appendText(fraction, denominatorText);
    return fraction;
}

void renderFraction(const std::vector<FormatToken>& tokens, const Layout& layout, double magnitude,
                    const FormatLocale& locale, FormattedValue& out) {
    const int count = static_cast<int>(tokens.size());
    const FractionLayout f = fractionLayout(tokens, layout.slash);
    const FractionValue v = fractionValue(f, magnitude);
    const bool hasWhole = f.hasWhole();

    DecimalDigits wholeDigits = DecimalDigits::of(v.whole);
    std::string wholeText = wholeDigits.integerPart();
    if (hasWhole && v.numerator == 0 && wholeText.empty()) wholeText = "0";
    std::vector<std::string> wholePieces =
        placeInteger(wholeText, f.wholeSymbols, false, locale.group);
    size_t next = 0;
    // The literals between the whole number and the numerator belong to the
    // fraction: they turn into spaces with it when there is no fraction.
    int wholeEnd = 0;
    for (int i = 0; i < f.numeratorStart; ++i)
        if (isDigit(tokens[static_cast<size_t>(i)])) wholeEnd = i + 1;
    emitRange(tokens, 0, hasWhole ? wholeEnd : 0, locale, out, wholePieces, next);

    const FormattedValue fraction =
        fractionText(tokens, layout, f, v, hasWhole ? wholeEnd : 0, locale);
    if (hasWhole && v.numerator == 0) {
        appendText(out, std::string(unicode::utf8CharacterCount(fraction.text), ' '));
    } else {
        if (fraction.fillAt >= 0 && out.fillAt < 0) {
            out.fillAt = static_cast<int>(out.text.size()) + fraction.fillAt;
            out.fillText = fraction.fillText;
        }
        appendText(out, fraction.text);
    }
    std::vector<std::string> none;
    next = 0;
    int restFrom = f.denominatorEnd;
    if (f.fixedDenominator > 0 && restFrom < count &&
        tokens[static_cast<size_t>(restFrom)].kind == Kind::Literal) {
        const std::string& text = tokens[static_cast<size_t>(restFrom)].text;
        size_t digits = 0;
        while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])))
            ++digits;
        appendText(out, std::string_view(text).substr(digits));
        ++restFrom;
    }
    emitRange(tokens, restFrom, count, locale, out, none, next);
}

void renderGeneralSection(const std::vector<FormatToken>& tokens, double magnitude,
                          const FormatLocale& locale, FormattedValue& out) {
    for (const FormatToken& t : tokens) {
        if (appendLiteralOrFill(out, t)) continue;
        if (t.kind == Kind::General)
            appendText(out, formatGeneral(magnitude, locale));
        else if (t.kind == Kind::Percent)
            appendText(out, "%");
        else if (t.kind == Kind::Point)
            appendText(out, locale.decimal);
        else if (t.kind == Kind::Slash)
            appendText(out, "/");
        else if (t.kind == Kind::Comma)
            appendText(out, ",");
    }
}

}  // namespace

void renderNumberSection(const FormatSection& section, double magnitude, bool minus,
                         const FormatLocale& locale, FormattedValue& out) {
    const Layout layout = analyse(section.tokens);
    for (int i = 0; i < layout.percent; ++i) magnitude *= 100;
    for (int i = 0; i < layout.scale; ++i) magnitude /= 1000;
    if (!std::isfinite(magnitude)) {
        markUnshowable(out);
        return;
    }
    if (minus) appendText(out, "-");
    if (section.hasGeneral && !section.hasDigits) {
        renderGeneralSection(section.tokens, magnitude, locale, out);
    } else if (layout.exponent >= 0 && section.hasDigits) {
        renderScientific(section.tokens, layout, magnitude, locale, out);
    } else if (layout.slash >= 0) {
        renderFraction(section.tokens, layout, magnitude, locale, out);
    } else {
        renderPlain(section.tokens, layout, magnitude, locale, out);
    }
}

}  // namespace tallowby::engine
