#include "workbook/engine/formula/formula_text.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "workbook/engine/formula/extern_sheets.h"
#include "workbook/engine/formula/formula_functions.h"
#include "workbook/engine/formula/token_cursor.h"

namespace tallowby::engine::formula {
namespace {

std::string columnName(int col) {
    std::string name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
    return name;
}

std::string partName(const RefPart& part, CellAddress at, bool offsets) {
    int row = part.row, col = part.col;
    if (offsets) {
        if (part.rowRelative) row = (at.row + static_cast<int16_t>(part.row)) & 0xFFFF;
        if (part.colRelative) col = (at.col + static_cast<int8_t>(part.col)) & 0xFF;
    }
    return cellName(static_cast<uint16_t>(row), static_cast<uint16_t>(col), !part.rowRelative,
                    !part.colRelative);
}

std::string numberText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

std::string quotedText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string sheetPrefix(const Token& t, const Workbook* workbook) {
    if (workbook) {
        auto sheet = ExternSheets(*workbook).sheetFor(t.externSheet);
        if (sheet) {
            const std::string& name = workbook->sheets[*sheet].name;
            bool plain = !name.empty();
            for (char c : name)
                if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_'))
                    plain = false;
            if (plain) return name + "!";
            std::string quoted = "'";
            for (char c : name) {
                if (c == '\'') quoted += '\'';
                quoted += c;
            }
            return quoted + "'!";
        }
    }
    return "#REF!";
}

const char* binaryOperator(uint8_t id) {
    static constexpr std::pair<uint8_t, const char*> kOperators[] = {
        {ptg::Add, "+"},   {ptg::Sub, "-"},    {ptg::Mul, "*"},  {ptg::Div, "/"},
        {ptg::Power, "^"}, {ptg::Concat, "&"}, {ptg::Lt, "<"},   {ptg::Le, "<="},
        {ptg::Eq, "="},    {ptg::Ge, ">="},    {ptg::Gt, ">"},   {ptg::Ne, "<>"},
        {ptg::Isect, " "}, {ptg::Union, ","},  {ptg::Range, ":"}};
    for (const auto& [op, text] : kOperators)
        if (op == id) return text;
    return nullptr;
}

std::string functionName(uint16_t index) {
    const FunctionInfo* info = functionInfo(index);
    return info ? std::string(info->name) : "FUNCTION" + std::to_string(index);
}

// Rebuilds the text on a stack of strings, the way the tokens were made.
class FormulaWriter {
  public:
    FormulaWriter(CellAddress at, const Workbook* workbook) : at_(at), workbook_(workbook) {}

    std::string write(std::span<const uint8_t> tokens) {
        TokenCursor cursor(tokens);
        while (!cursor.atEnd()) add(cursor.next());
        if (stack_.size() != 1)
            throw MalformedFormula("formula tokens do not leave exactly one result");
        return "=" + stack_.back();
    }

  private:
    std::string pop() {
        if (stack_.empty()) throw MalformedFormula("formula operator is missing an operand");
        std::string top = std::move(stack_.back());
        stack_.pop_back();
        return top;
    }

    void call(const std::string& name, size_t argCount) {
        if (argCount > stack_.size())
            throw MalformedFormula("function has fewer operands than arguments");
        std::string text = name + "(";
        for (size_t i = stack_.size() - argCount; i < stack_.size(); ++i) {
            if (i > stack_.size() - argCount) text += ",";
            text += stack_[i];
        }
        stack_.resize(stack_.size() - argCount);
        stack_.push_back(text + ")");
    }

    // Operators and functions take their operands from the stack.
    void add(const Token& t) {
        if (const char* op = binaryOperator(t.id)) {
            std::string right = pop();
            std::string left = pop();
            stack_.push_back(left + op + right);
            return;
        }
        switch (t.id) {
            case ptg::Uplus:
                stack_.push_back("+" + pop());
                break;
            case ptg::Uminus:
                stack_.push_back("-" + pop());
                break;
            case ptg::Percent:
                stack_.push_back(pop() + "%");
                break;
            case ptg::Paren:
                stack_.push_back("(" + pop() + ")");
                break;
            case ptg::Attr:
                if (t.attrOptions & attr::Sum) call("SUM", 1);
                break;
            case ptg::Func: {
                const FunctionInfo* info = functionInfo(t.function);
                if (!info || info->fixedArgs < 0)
                    throw MalformedFormula("function " + std::to_string(t.function) +
                                           " has an unknown argument count");
                call(functionName(t.function), static_cast<size_t>(info->fixedArgs));
                break;
            }
            case ptg::FuncVar:
                call(functionName(t.function), static_cast<size_t>(t.argCount));
                break;
            default:
                stack_.push_back(operandText(t));
        }
    }

    // Constants and references stand for themselves.
    std::string operandText(const Token& t) const {
        switch (t.id) {
            case ptg::MissArg:
                return {};
            case ptg::Str:
                return quotedText(t.text);
            case ptg::Err:
                return errorText(static_cast<ErrorCode>(t.error));
            case ptg::Bool:
                return t.boolean ? "TRUE" : "FALSE";
            case ptg::Int:
            case ptg::Num:
                return numberText(t.number);
            case ptg::Ref:
            case ptg::RefN:
                return partName(t.first, at_, t.id == ptg::RefN);
            case ptg::Area:
            case ptg::AreaN:
                return partName(t.first, at_, t.id == ptg::AreaN) + ":" +
                       partName(t.last, at_, t.id == ptg::AreaN);
            case ptg::Ref3d:
                return sheetPrefix(t, workbook_) + partName(t.first, at_, false);
            case ptg::Area3d:
                return sheetPrefix(t, workbook_) + partName(t.first, at_, false) + ":" +
                       partName(t.last, at_, false);
            case ptg::RefErr:
            case ptg::AreaErr:
            case ptg::RefErr3d:
            case ptg::AreaErr3d:
                return "#REF!";
            default:
                throw MalformedFormula("formula token cannot be shown as text");
        }
    }

    CellAddress at_;
    const Workbook* workbook_;
    std::vector<std::string> stack_;
};

}  // namespace

std::string cellName(uint16_t row, uint16_t col, bool rowAbsolute, bool colAbsolute) {
    return (colAbsolute ? "$" : "") + columnName(col) + (rowAbsolute ? "$" : "") +
           std::to_string(row + 1);
}

std::string formulaText(std::span<const uint8_t> tokens, CellAddress at, const Workbook* workbook) {
    return FormulaWriter(at, workbook).write(tokens);
}

}  // namespace tallowby::engine::formula
