#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tallowby::engine {

// Spreadsheet error values, with their BIFF8 codes.
enum class ErrorCode : uint8_t {
    Null = 0x00,
    Div0 = 0x07,
    Value = 0x0F,
    Ref = 0x17,
    Name = 0x1D,
    Num = 0x24,
    NA = 0x2A,
};

// "#DIV/0!" and so on.
const char* errorText(ErrorCode code);

// The error a stored code stands for; a code no error has reads as #N/A.
ErrorCode errorFromCode(uint8_t code);

// A cell's value, or a formula's result.
struct CellValue {
    enum class Type : uint8_t { Empty, Number, Text, Boolean, Error };

    Type type = Type::Empty;
    double number = 0;  // Number; a Boolean holds 0 or 1 here too
    std::string text;   // Text, UTF-8
    ErrorCode error = ErrorCode::Null;

    static CellValue empty() { return {}; }
    static CellValue fromNumber(double v) { return {Type::Number, v, {}, ErrorCode::Null}; }
    static CellValue fromText(std::string t) {
        return {Type::Text, 0, std::move(t), ErrorCode::Null};
    }
    static CellValue fromBool(bool b) {
        return {Type::Boolean, b ? 1.0 : 0.0, {}, ErrorCode::Null};
    }
    static CellValue fromError(ErrorCode e) { return {Type::Error, 0, {}, e}; }

    bool isEmpty() const { return type == Type::Empty; }
    bool operator==(const CellValue& other) const;
};

// One cell of a sheet: its value (for a formula cell, the cached result), the
// index of its cell XF, and for a formula cell its BIFF8 token array.
struct Cell {
    CellValue value;
    uint16_t xf = 15;
    // BIFF8 parsed-expression tokens (rgce) of the cell's formula, empty for a
    // constant. A shared formula is expanded into the cell's own tokens when
    // read; an array or table formula is read as its cached value only.
    std::vector<uint8_t> formula;
    // Extra bytes that follow the tokens in the FORMULA record (rgbExtra), kept
    // so a formula with array constants survives a round trip.
    std::vector<uint8_t> formulaExtra;
    // Formula flags as read (bit 0: always calculate); the writer sets bit 0.
    uint16_t formulaFlags = 0;

    bool hasFormula() const { return !formula.empty(); }
    bool operator==(const Cell& other) const = default;
};

// Zero-based cell coordinates; BIFF8 allows rows 0..65535 and columns 0..255.
struct CellAddress {
    uint16_t row = 0;
    uint16_t col = 0;
    auto operator<=>(const CellAddress&) const = default;
};

struct CellRange {
    uint16_t firstRow = 0;
    uint16_t lastRow = 0;
    uint16_t firstCol = 0;
    uint16_t lastCol = 0;
    bool contains(uint16_t row, uint16_t col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
    bool operator==(const CellRange&) const = default;
};

}  // namespace tallowby::engine
