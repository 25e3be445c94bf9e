#include "workbook/engine/formula/formula_functions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace tallowby::engine::formula {
namespace {

constexpr std::array kFunctions = {
    FunctionInfo{0, "COUNT", -1, true},      FunctionInfo{1, "IF", -1, true},
    FunctionInfo{2, "ISNA", 1, true},        FunctionInfo{3, "ISERROR", 1, true},
    FunctionInfo{4, "SUM", -1, true},        FunctionInfo{5, "AVERAGE", -1, true},
    FunctionInfo{6, "MIN", -1, true},        FunctionInfo{7, "MAX", -1, true},
    FunctionInfo{8, "ROW", -1, false},       FunctionInfo{9, "COLUMN", -1, false},
    FunctionInfo{10, "NA", 0, true},         FunctionInfo{15, "SIN", 1, false},
    FunctionInfo{16, "COS", 1, false},       FunctionInfo{19, "PI", 0, true},
    FunctionInfo{20, "SQRT", 1, true},       FunctionInfo{24, "ABS", 1, true},
    FunctionInfo{25, "INT", 1, true},        FunctionInfo{26, "SIGN", 1, true},
    FunctionInfo{27, "ROUND", 2, true},      FunctionInfo{31, "MID", 3, false},
    FunctionInfo{32, "LEN", 1, false},       FunctionInfo{34, "TRUE", 0, true},
    FunctionInfo{35, "FALSE", 0, true},      FunctionInfo{36, "AND", -1, true},
    FunctionInfo{37, "OR", -1, true},        FunctionInfo{38, "NOT", 1, true},
    FunctionInfo{39, "MOD", 2, true},        FunctionInfo{65, "DATE", 3, false},
    FunctionInfo{66, "TIME", 3, false},      FunctionInfo{67, "DAY", 1, false},
    FunctionInfo{68, "MONTH", 1, false},     FunctionInfo{69, "YEAR", 1, false},
    FunctionInfo{70, "WEEKDAY", -1, false},  FunctionInfo{71, "HOUR", 1, false},
    FunctionInfo{72, "MINUTE", 1, false},    FunctionInfo{73, "SECOND", 1, false},
    FunctionInfo{74, "NOW", 0, false},       FunctionInfo{100, "CHOOSE", -1, true},
    FunctionInfo{169, "COUNTA", -1, true},   FunctionInfo{212, "ROUNDUP", 2, true},
    FunctionInfo{213, "ROUNDDOWN", 2, true}, FunctionInfo{221, "TODAY", 0, false},
};

Operand errorOperand(ErrorCode e) {
    return Operand::error(e);
}

// Walks the numbers of an aggregate's arguments the way SUM does: numbers in
// references count, their text, booleans and blanks are skipped; a direct
// argument counts as a number (TRUE 1, omitted 0) or fails as arithmetic
// would. The first error met is returned.
std::optional<ErrorCode> forEachNumber(std::span<const Operand> args, const EvalContext& context,
                                       const std::function<void(double)>& use) {
    std::optional<ErrorCode> failure;
    for (const Operand& arg : args) {
        if (arg.kind == Operand::Kind::Reference) {
            forEachValue(arg.ref, context, [&](const CellValue& v) {
                if (v.type == CellValue::Type::Error) {
                    failure = v.error;
                    return false;
                }
                if (v.type == CellValue::Type::Number) use(v.number);
                return true;
            });
        } else {
            double n = 0;
            ErrorCode e{};
            if (!toNumber(scalarValue(arg, context), n, e))
                failure = e;
            else
                use(n);
        }
        if (failure) return failure;
    }
    return failure;
}

// Counts the values COUNT or COUNTA would.
Operand countValues(std::span<const Operand> args, const EvalContext& context, bool anyValue) {
    double count = 0;
    for (const Operand& arg : args) {
        if (arg.kind == Operand::Kind::Reference) {
            forEachValue(arg.ref, context, [&](const CellValue& v) {
                if (anyValue || v.type == CellValue::Type::Number) ++count;
                return true;
            });
        } else if (arg.kind == Operand::Kind::Value) {
            const auto t = arg.value.type;
            if (anyValue ? t != CellValue::Type::Empty
                         : (t == CellValue::Type::Number || t == CellValue::Type::Boolean))
                ++count;
        }
    }
    return Operand::number(count);
}

// A single argument as a number, or the error it gives.
std::optional<double> numberArg(const Operand& arg, const EvalContext& context, ErrorCode& error) {
    double n = 0;
    if (!toNumber(scalarValue(arg, context), n, error)) return std::nullopt;
    return n;
}

// A condition: numbers are true unless zero; text cannot be a condition.
std::optional<bool> truthArg(const Operand& arg, const EvalContext& context, ErrorCode& error) {
    const CellValue v = scalarValue(arg, context);
    if (v.type == CellValue::Type::Text) {
        error = ErrorCode::Value;
        return std::nullopt;
    }
    double n = 0;
    if (!toNumber(v, n, error)) return std::nullopt;
    return n != 0;
}

double roundDigits(double value, double digits, int mode /* 0 nearest, 1 up, -1 down */) {
    const double scale = std::pow(10.0, std::trunc(digits));
    double scaled = value * scale;
    // Absorb binary noise such as 2.675 * 100 = 267.49999999999997.
    const double nearestInteger = std::round(scaled);
    if (std::fabs(scaled - nearestInteger) < 1e-9 * std::max(1.0, std::fabs(scaled)))
        scaled = nearestInteger;
    double r = 0;
    if (mode == 0)
        r = std::round(scaled);  // halves away from zero
    else if (mode > 0)
        r = scaled < 0 ? std::floor(scaled) : std::ceil(scaled);
    else
        r = std::trunc(scaled);
    return r / scale;
}

Operand aggregate(std::span<const Operand> args, const EvalContext& context, uint16_t index) {
    double sum = 0;
    double count = 0;
    double best = 0;
    bool any = false;
    auto failure = forEachNumber(args, context, [&](double n) {
        sum += n;
        ++count;
        if (!any)
            best = n;
        else if (index == 6)
            best = std::min(best, n);
        else if (index == 7)
            best = std::max(best, n);
        any = true;
    });
    if (failure) return errorOperand(*failure);
    switch (index) {
        case 4:
            return Operand::of(numberResult(sum));
        case 5:
            return count == 0 ? errorOperand(ErrorCode::Div0)
                              : Operand::of(numberResult(sum / count));
        default:
            return Operand::number(any ? best : 0);  // MIN and MAX of nothing are 0
    }
}

Operand logical(std::span<const Operand> args, const EvalContext& context, bool isAnd) {
    bool result = isAnd;
    bool any = false;
    for (const Operand& arg : args) {
        if (arg.kind == Operand::Kind::Reference) {
            std::optional<ErrorCode> failure;
            forEachValue(arg.ref, context, [&](const CellValue& v) {
                if (v.type == CellValue::Type::Error) {
                    failure = v.error;
                    return false;
                }
                if (v.type == CellValue::Type::Number || v.type == CellValue::Type::Boolean) {
                    any = true;
                    result = isAnd ? (result && v.number != 0) : (result || v.number != 0);
                }
                return true;
            });
            if (failure) return errorOperand(*failure);
        } else {
            ErrorCode e{};
            auto truth = truthArg(arg, context, e);
            if (!truth) return errorOperand(e);
            any = true;
            result = isAnd ? (result && *truth) : (result || *truth);
        }
    }
    if (!any) return errorOperand(ErrorCode::Value);
    return Operand::of(CellValue::fromBool(result));
}

// IF: the second or third argument, a missing one counting as 0.
Operand ifFunction(std::span<const Operand> args, const EvalContext& context) {
    const size_t n = args.size();
    if (n < 1 || n > 3) return errorOperand(ErrorCode::Value);
    ErrorCode e{};
    auto truth = truthArg(args[0], context, e);
    if (!truth) return errorOperand(e);
    if (*truth) {
        if (n < 2) return Operand::of(CellValue::fromBool(true));
        return args[1].kind == Operand::Kind::Missing ? Operand::number(0) : args[1];
    }
    if (n < 3) return Operand::of(CellValue::fromBool(false));
    return args[2].kind == Operand::Kind::Missing ? Operand::number(0) : args[2];
}

// ISNA (any error for ISERROR).
Operand isErrorFunction(std::span<const Operand> args, const EvalContext& context, bool anyError) {
    if (args.size() != 1) return errorOperand(ErrorCode::Value);
    const CellValue v = scalarValue(args[0], context);
    const bool isError = v.type == CellValue::Type::Error;
    return Operand::of(
        CellValue::fromBool(anyError ? isError : isError && v.error == ErrorCode::NA));
}

Operand notFunction(std::span<const Operand> args, const EvalContext& context) {
    if (args.size() != 1) return errorOperand(ErrorCode::Value);
    ErrorCode e{};
    auto truth = truthArg(args[0], context, e);
    if (!truth) return errorOperand(e);
    return Operand::of(CellValue::fromBool(!*truth));
}

Operand chooseFunction(std::span<const Operand> args, const EvalContext& context) {
    const size_t n = args.size();
    if (n < 2) return errorOperand(ErrorCode::Value);
    ErrorCode e{};
    auto choice = numberArg(args[0], context, e);
    if (!choice) return errorOperand(e);
    const double k = std::trunc(*choice);
    if (k < 1 || k > static_cast<double>(n - 1)) return errorOperand(ErrorCode::Value);
    const Operand& picked = args[static_cast<size_t>(k)];
    return picked.kind == Operand::Kind::Missing ? Operand::number(0) : picked;
}

// The functions that take numbers only, exactly as many as they are defined with.
Operand numericFunction(const FunctionInfo& info, std::span<const Operand> args,
                        const EvalContext& context) {
    const size_t n = args.size();
    if (n != static_cast<size_t>(info.fixedArgs)) return errorOperand(ErrorCode::Value);
    ErrorCode e{};
    std::array<double, 3> x{};
    for (size_t i = 0; i < n; ++i) {
        auto value = numberArg(args[i], context, e);
        if (!value) return errorOperand(e);
        x[i] = *value;
    }
    switch (info.index) {
        case 20:
            return x[0] < 0 ? errorOperand(ErrorCode::Num) : Operand::number(std::sqrt(x[0]));
        case 24:
            return Operand::number(std::fabs(x[0]));
        case 25:
            return Operand::number(std::floor(x[0]));
        case 26:
            return Operand::number(x[0] > 0 ? 1 : (x[0] < 0 ? -1 : 0));
        case 27:
            return Operand::of(numberResult(roundDigits(x[0], x[1], 0)));
        case 212:
            return Operand::of(numberResult(roundDigits(x[0], x[1], 1)));
        case 213:
            return Operand::of(numberResult(roundDigits(x[0], x[1], -1)));
        case 39: {
            if (x[1] == 0) return errorOperand(ErrorCode::Div0);
            // The result takes the divisor's sign.
            return Operand::of(numberResult(x[0] - x[1] * std::floor(x[0] / x[1])));
        }
        default:
            return errorOperand(ErrorCode::Name);
    }
}

}  // namespace

const FunctionInfo* functionInfo(uint16_t index) {
    for (const FunctionInfo& f : kFunctions)
        if (f.index == index) return &f;
    return nullptr;
}

Operand callFunction(uint16_t index, std::span<const Operand> args, const EvalContext& context) {
    const FunctionInfo* info = functionInfo(index);
    if (!info || !info->implemented) return errorOperand(ErrorCode::Name);
    switch (index) {
        case 0:
            return countValues(args, context, false);
        case 169:
            return countValues(args, context, true);
        case 4:
        case 5:
        case 6:
        case 7:
            if (args.empty()) return errorOperand(ErrorCode::Value);
            return aggregate(args, context, index);
        case 1:
            return ifFunction(args, context);
        case 2:
        case 3:
            return isErrorFunction(args, context, index == 3);
        case 10:
            return errorOperand(ErrorCode::NA);
        case 19:
            return Operand::number(std::numbers::pi);
        case 34:
            return Operand::of(CellValue::fromBool(true));
        case 35:
            return Operand::of(CellValue::fromBool(false));
        case 36:
            return logical(args, context, true);
        case 37:
            return logical(args, context, false);
        case 38:
            return notFunction(args, context);
        case 100:
            return chooseFunction(args, context);
        default:
            return numericFunction(*info, args, context);
    }
}

}  // namespace tallowby::engine::formula
