#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "workbook/engine/formula/formula_operand.h"

namespace tallowby::engine::formula {

inline constexpr uint16_t kFunctionSum = 4;
inline constexpr uint16_t kFunctionIf = 1;

struct FunctionInfo {
    uint16_t index;
    std::string_view name;
    int fixedArgs;     // the argument count ptgFunc implies; -1 for variable-count functions
    bool implemented;  // the evaluator computes it; others are #NAME?
};

// The function with this built-in index, or nullptr when it is not in the table.
const FunctionInfo* functionInfo(uint16_t index);

// Computes an implemented function over its arguments (in call order).
// Returns #NAME? for an unknown or unimplemented function.
Operand callFunction(uint16_t index, std::span<const Operand> args, const EvalContext& context);

}  // namespace tallowby::engine::formula
