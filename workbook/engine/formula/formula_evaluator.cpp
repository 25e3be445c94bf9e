#include "workbook/engine/formula/formula_evaluator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "workbook/engine/formula/formula_functions.h"
#include "workbook/engine/formula/formula_operand.h"
#include "workbook/engine/formula/token_cursor.h"

namespace tallowby::engine::formula {
namespace {

// Deep enough for any formula a spreadsheet program writes (they allow 64
// nesting levels and 255 arguments), small enough to bound the work.
constexpr size_t kMaxStack = 1024;

class StackMachine {
  public:
    explicit StackMachine(const EvalContext& context) : context_(context) {}

    CellValue run(std::span<const uint8_t> tokens) {
        TokenCursor cursor(tokens);
        while (!cursor.atEnd()) {
            if (!step(cursor.next())) return CellValue::fromError(failure_);
        }
        if (stack_.size() != 1)
            throw MalformedFormula("formula tokens do not leave exactly one result");
        CellValue result = scalarValue(stack_.back(), context_);
        if (result.isEmpty()) return CellValue::fromNumber(0);
        return result;
    }

  private:
    void push(Operand operand) {
        if (stack_.size() >= kMaxStack) throw MalformedFormula("formula is nested too deeply");
        stack_.push_back(std::move(operand));
    }

    Operand pop() {
        if (stack_.empty()) throw MalformedFormula("formula operator is missing an operand");
        Operand top = std::move(stack_.back());
        stack_.pop_back();
        return top;
    }

    // Resolves a stored reference part to an absolute position, or nothing
    // when a relative offset (shared formulas) leaves the sheet.
    std::optional<CellAddress> position(const RefPart& part, bool offsets) const {
        int row = part.row;
        int col = part.col;
        if (offsets) {
            if (part.rowRelative) row = context_.at.row + static_cast<int16_t>(part.row);
            if (part.colRelative) col = context_.at.col + static_cast<int8_t>(part.col);
        }
        if (row < 0 || row > 0xFFFF || col < 0 || col > 0xFF) return std::nullopt;
        return CellAddress{static_cast<uint16_t>(row), static_cast<uint16_t>(col)};
    }

    // Pushes a reference token's range, or #REF! when it points nowhere.
    void pushReference(const Token& t, int sheet, bool offsets) {
        auto a = position(t.first, offsets);
        auto b = position(t.last, offsets);
        if (!a || !b || sheet < 0) {
            push(Operand::error(ErrorCode::Ref));
            return;
        }
        CellRange range{std::min(a->row, b->row), std::max(a->row, b->row),
                        std::min(a->col, b->col), std::max(a->col, b->col)};
        push(Operand::reference(SheetRange{sheet, range}));
    }

    int sheetOf(const Token& t) const {
        auto sheet = context_.externSheets.sheetFor(t.externSheet);
        return sheet ? *sheet : -1;
    }

    bool binaryArithmetic(uint8_t id) {
        const CellValue right = scalarValue(pop(), context_);
        const CellValue left = scalarValue(pop(), context_);
        double a = 0, b = 0;
        ErrorCode e{};
        // The left operand's error wins, as in spreadsheet programs.
        if (!toNumber(left, a, e) || !toNumber(right, b, e)) {
            push(Operand::error(e));
            return true;
        }
        double r = 0;
        switch (id) {
            case ptg::Add:
                r = a + b;
                break;
            case ptg::Sub:
                r = a - b;
                break;
            case ptg::Mul:
                r = a * b;
                break;
            case ptg::Div:
                if (b == 0) {
                    push(Operand::error(ErrorCode::Div0));
                    return true;
                }
                r = a / b;
                break;
            case ptg::Power:
                if (a == 0 && b == 0) {
                    push(Operand::error(ErrorCode::Num));
                    return true;
                }
                if (a == 0 && b < 0) {
                    push(Operand::error(ErrorCode::Div0));
                    return true;
                }
                r = std::pow(a, b);
                break;
            default:
                break;
        }
        push(Operand::of(numberResult(r)));
        return true;
    }

    // Orders two values as spreadsheets do: numbers < text < booleans, text
    // without regard to case, a blank as 0, "" or FALSE by the other side.
    static int compare(CellValue a, CellValue b) {
        auto fillBlank = [](CellValue& v, const CellValue& other) {
            if (!v.isEmpty()) return;
            if (other.type == CellValue::Type::Text)
                v = CellValue::fromText("");
            else if (other.type == CellValue::Type::Boolean)
                v = CellValue::fromBool(false);
            else
                v = CellValue::fromNumber(0);
        };
        fillBlank(a, b);
        fillBlank(b, a);
        auto rank = [](const CellValue& v) {
            return v.type == CellValue::Type::Number ? 0
                                                     : (v.type == CellValue::Type::Text ? 1 : 2);
        };
        if (rank(a) != rank(b)) return rank(a) < rank(b) ? -1 : 1;
        if (a.type == CellValue::Type::Text) {
            auto lower = [](std::string s) {
                for (char& c : s)
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
                return s;
            };
            const std::string x = lower(a.text), y = lower(b.text);
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }

    void comparison(uint8_t id) {
        const CellValue right = scalarValue(pop(), context_);
        const CellValue left = scalarValue(pop(), context_);
        if (left.type == CellValue::Type::Error) return push(Operand::of(left));
        if (right.type == CellValue::Type::Error) return push(Operand::of(right));
        const int c = compare(left, right);
        bool r = false;
        switch (id) {
            case ptg::Lt:
                r = c < 0;
                break;
            case ptg::Le:
                r = c <= 0;
                break;
            case ptg::Eq:
                r = c == 0;
                break;
            case ptg::Ge:
                r = c >= 0;
                break;
            case ptg::Gt:
                r = c > 0;
                break;
            default:
                r = c != 0;
                break;
        }
        push(Operand::of(CellValue::fromBool(r)));
    }

    void callWithArgs(uint16_t function, size_t argCount) {
        if (argCount > stack_.size())
            throw MalformedFormula("function has fewer operands than arguments");
        std::vector<Operand> args(
            std::make_move_iterator(stack_.end() - static_cast<ptrdiff_t>(argCount)),
            std::make_move_iterator(stack_.end()));
        stack_.resize(stack_.size() - argCount);
        push(callFunction(function, args, context_));
    }

    void concat() {
        const CellValue right = scalarValue(pop(), context_);
        const CellValue left = scalarValue(pop(), context_);
        if (left.type == CellValue::Type::Error)
            push(Operand::of(left));
        else if (right.type == CellValue::Type::Error)
            push(Operand::of(right));
        else
            push(Operand::of(CellValue::fromText(valueText(left) + valueText(right))));
    }

    void unary(uint8_t id) {
        // Unary plus changes nothing, but a reference becomes its value.
        if (id == ptg::Uplus) return push(Operand::of(scalarValue(pop(), context_)));
        double n = 0;
        ErrorCode e{};
        if (!toNumber(scalarValue(pop(), context_), n, e))
            push(Operand::error(e));
        else
            push(Operand::of(numberResult(id == ptg::Uminus ? -n : n / 100)));
    }

    // Func and FuncVar; false when the call cannot be made.
    bool call(const Token& t) {
        if (t.id == ptg::Func) {
            const FunctionInfo* info = functionInfo(t.function);
            if (!info || info->fixedArgs < 0) {
                failure_ = ErrorCode::Name;
                return false;  // the argument count is unknown: the stack cannot be balanced
            }
            callWithArgs(t.function, static_cast<size_t>(info->fixedArgs));
            return true;
        }
        if (t.commandEquivalent) {
            failure_ = ErrorCode::Name;
            return false;
        }
        callWithArgs(t.function, static_cast<size_t>(t.argCount));
        return true;
    }

    // Returns false to stop with failure_ as the result.
    bool step(const Token& t) {
        switch (t.id) {
            case ptg::Add:
            case ptg::Sub:
            case ptg::Mul:
            case ptg::Div:
            case ptg::Power:
                return binaryArithmetic(t.id);
            case ptg::Lt:
            case ptg::Le:
            case ptg::Eq:
            case ptg::Ge:
            case ptg::Gt:
            case ptg::Ne:
                comparison(t.id);
                return true;
            case ptg::Concat:
                concat();
                return true;
            case ptg::Uplus:
            case ptg::Uminus:
            case ptg::Percent:
                unary(t.id);
                return true;
            case ptg::Paren:
                return true;
            case ptg::Attr:
                if (t.attrOptions & attr::Sum) callWithArgs(kFunctionSum, 1);
                // If, choose and goto only steer a lazy evaluator; this one
                // computes every branch and lets IF and CHOOSE pick.
                return true;
            case ptg::Func:
            case ptg::FuncVar:
                return call(t);
            default:
                return operand(t);
        }
    }

    // Constants and references.
    bool operand(const Token& t) {
        switch (t.id) {
            case ptg::MissArg:
                push(Operand::missing());
                return true;
            case ptg::Str:
                push(Operand::of(CellValue::fromText(t.text)));
                return true;
            case ptg::Err:
                push(Operand::error(static_cast<ErrorCode>(t.error)));
                return true;
            case ptg::Bool:
                push(Operand::of(CellValue::fromBool(t.boolean)));
                return true;
            case ptg::Int:
            case ptg::Num:
                push(Operand::of(numberResult(t.number)));
                return true;
            case ptg::Ref:
            case ptg::Area:
                pushReference(t, context_.sheet, false);
                return true;
            case ptg::RefN:
            case ptg::AreaN:
                pushReference(t, context_.sheet, true);
                return true;
            case ptg::Ref3d:
            case ptg::Area3d:
                pushReference(t, sheetOf(t), false);
                return true;
            case ptg::RefErr:
            case ptg::AreaErr:
            case ptg::RefErr3d:
            case ptg::AreaErr3d:
                push(Operand::error(ErrorCode::Ref));
                return true;
            case ptg::Name:
            case ptg::NameX:
                failure_ = ErrorCode::Name;
                return false;
            default:
                // ptgExp (shared/array formulas), tables, arrays, intersections, unions,
                // ranges and memory tokens are not computed here.
                failure_ = ErrorCode::Value;
                return false;
        }
    }

    const EvalContext& context_;
    std::vector<Operand> stack_;
    ErrorCode failure_ = ErrorCode::Value;
};

}  // namespace

CellValue evaluateFormula(const Workbook& workbook, const ExternSheets& externSheets,
                          int sheetIndex, CellAddress at, std::span<const uint8_t> tokens,
                          size_t* readBudget, const CellIndex* cellIndex) {
    const EvalContext context{workbook, externSheets, sheetIndex, at, readBudget, cellIndex};
    try {
        return StackMachine(context).run(tokens);
    } catch (const MalformedFormula&) {
        return CellValue::fromError(ErrorCode::Value);
    }
}

CellValue evaluateFormula(const Workbook& workbook, int sheetIndex, CellAddress at,
                          std::span<const uint8_t> tokens) {
    const ExternSheets externSheets(workbook);
    return evaluateFormula(workbook, externSheets, sheetIndex, at, tokens);
}

}  // namespace tallowby::engine::formula
