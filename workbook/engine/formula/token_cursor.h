#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "workbook/engine/common/ptg_table.h"

namespace tallowby::engine::formula {

// A token array that cannot be read: truncated, an unknown token, a stack
// that does not balance.
class MalformedFormula : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Token ids and ptgAttr option bits live with the size table in the common
// layer; they read the same here.
namespace ptg = engine::ptg;
namespace attr = engine::ptg::attr;

// One cell reference as stored: a row and a column with their relative flags.
// In a cell formula the stored coordinates are absolute positions either way;
// in ptgRefN/ptgAreaN the relative parts are signed offsets from the cell.
struct RefPart {
    uint16_t row = 0;
    uint8_t col = 0;
    bool rowRelative = false;
    bool colRelative = false;
};

// One decoded token.
struct Token {
    uint8_t id = 0;  // base id (ptg::...), the class bits removed
    // Operands, depending on the id:
    RefPart first, last;             // Ref*/Area* (last only for areas)
    uint16_t externSheet = 0;        // Ref3d/Area3d: index into EXTERNSHEET
    double number = 0;               // Int, Num
    bool boolean = false;            // Bool
    uint8_t error = 0;               // Err
    std::string text;                // Str, UTF-8
    uint16_t function = 0;           // Func/FuncVar: function index
    int argCount = -1;               // FuncVar: the stored count; Func: -1 (fixed by the function)
    bool commandEquivalent = false;  // FuncVar: bit 15 of the index (a macro command)
    uint8_t attrOptions = 0;         // Attr
    uint16_t attrData = 0;           // Attr: the 16-bit operand (jump offset, space count...)
};

// Walks a token array one token at a time. Throws MalformedFormula on a
// truncated token or an id it does not know how to skip.
class TokenCursor {
  public:
    explicit TokenCursor(std::span<const uint8_t> tokens) : bytes_(tokens) {}
    bool atEnd() const { return pos_ >= bytes_.size(); }
    size_t position() const { return pos_; }
    Token next();

  private:
    std::span<const uint8_t> take(size_t n);
    uint16_t u16();
    RefPart refPart(uint16_t row, uint16_t colWord) const;
    RefPart readRefPart();
    void readReference(Token& t);
    std::string readString();
    void readAttr(Token& t);
    void readFuncVar(Token& t);
    void skipOperands(uint8_t raw, uint8_t id);

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

}  // namespace tallowby::engine::formula
