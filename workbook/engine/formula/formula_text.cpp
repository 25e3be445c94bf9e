#include "workbook/engine/formula/formula_text.h"

#include <cstdio>
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
    switch (id) {
        case ptg::Add:
            return "+";
        case ptg::Sub:
            return "-";
        case ptg::Mul:
            return "*";
        case ptg::Div:
            return "/";
        case ptg::Power:
            return "^";
        case ptg::Concat:
            return "&";
        case ptg::Lt:
            return "<";
        case ptg::Le:
            return "<=";
        case ptg::Eq:
            return "=";
        case ptg::Ge:
            return ">=";
        case ptg::Gt:
            return ">";
        case ptg::Ne:
            return "<>";
        case ptg::Isect:
            return " ";
        case ptg::Union:
            return ",";
        case ptg::Range:
            return ":";
        default:
            return nullptr;
    }
}

}  // namespace

std::string cellName(uint16_t row, uint16_t col, bool rowAbsolute, bool colAbsolute) {
    return (colAbsolute ? "$" : "") + columnName(col) + (rowAbsolute ? "$" : "") +
           std::to_string(row + 1);
}

std::string formulaText(std::span<const uint8_t> tokens, CellAddress at, const Workbook* workbook) {
    std::vector<std::string> stack;
    auto pop = [&]() {
        if (stack.empty()) throw MalformedFormula("formula operator is missing an operand");
        std::string top = std::move(stack.back());
        stack.pop_back();
        return top;
    };
    auto call = [&](const std::string& name, size_t argCount) {
        if (argCount > stack.size())
            throw MalformedFormula("function has fewer operands than arguments");
        std::string text = name + "(";
        for (size_t i = stack.size() - argCount; i < stack.size(); ++i) {
            if (i > stack.size() - argCount) text += ",";
            text += stack[i];
        }
        stack.resize(stack.size() - argCount);
        stack.push_back(text + ")");
    };
    auto functionName = [](uint16_t index) {
        const FunctionInfo* info = functionInfo(index);
        return info ? std::string(info->name) : "FUNCTION" + std::to_string(index);
    };

    TokenCursor cursor(tokens);
    while (!cursor.atEnd()) {
        const Token t = cursor.next();
        if (const char* op = binaryOperator(t.id)) {
            std::string right = pop();
            std::string left = pop();
            stack.push_back(left + op + right);
            continue;
        }
        switch (t.id) {
            case ptg::Uplus:
                stack.push_back("+" + pop());
                break;
            case ptg::Uminus:
                stack.push_back("-" + pop());
                break;
            case ptg::Percent:
                stack.push_back(pop() + "%");
                break;
            case ptg::Paren:
                stack.push_back("(" + pop() + ")");
                break;
            case ptg::MissArg:
                stack.emplace_back();
                break;
            case ptg::Str:
                stack.push_back(quotedText(t.text));
                break;
            case ptg::Err:
                stack.emplace_back(errorText(static_cast<ErrorCode>(t.error)));
                break;
            case ptg::Bool:
                stack.emplace_back(t.boolean ? "TRUE" : "FALSE");
                break;
            case ptg::Int:
            case ptg::Num:
                stack.push_back(numberText(t.number));
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
            case ptg::Ref:
                stack.push_back(partName(t.first, at, false));
                break;
            case ptg::RefN:
                stack.push_back(partName(t.first, at, true));
                break;
            case ptg::Area:
                stack.push_back(partName(t.first, at, false) + ":" + partName(t.last, at, false));
                break;
            case ptg::AreaN:
                stack.push_back(partName(t.first, at, true) + ":" + partName(t.last, at, true));
                break;
            case ptg::Ref3d:
                stack.push_back(sheetPrefix(t, workbook) + partName(t.first, at, false));
                break;
            case ptg::Area3d:
                stack.push_back(sheetPrefix(t, workbook) + partName(t.first, at, false) + ":" +
                                partName(t.last, at, false));
                break;
            case ptg::RefErr:
            case ptg::AreaErr:
            case ptg::RefErr3d:
            case ptg::AreaErr3d:
                stack.emplace_back("#REF!");
                break;
            default:
                throw MalformedFormula("formula token cannot be shown as text");
        }
    }
    if (stack.size() != 1) throw MalformedFormula("formula tokens do not leave exactly one result");
    return "=" + stack.back();
}

}  // namespace tallowby::engine::formula
