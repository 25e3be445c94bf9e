#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace tallowby::engine::formula {

// A token array that cannot be read: truncated, an unknown token, a stack
// that does not balance.
class MalformedFormula : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parsed-expression token ids (the base id; reference tokens carry a class
// in bits 5-6 that TokenCursor strips).
namespace ptg {
inline constexpr uint8_t Exp = 0x01;
inline constexpr uint8_t Tbl = 0x02;
inline constexpr uint8_t Add = 0x03;
inline constexpr uint8_t Sub = 0x04;
inline constexpr uint8_t Mul = 0x05;
inline constexpr uint8_t Div = 0x06;
inline constexpr uint8_t Power = 0x07;
inline constexpr uint8_t Concat = 0x08;
inline constexpr uint8_t Lt = 0x09;
inline constexpr uint8_t Le = 0x0A;
inline constexpr uint8_t Eq = 0x0B;
inline constexpr uint8_t Ge = 0x0C;
inline constexpr uint8_t Gt = 0x0D;
inline constexpr uint8_t Ne = 0x0E;
inline constexpr uint8_t Isect = 0x0F;
inline constexpr uint8_t Union = 0x10;
inline constexpr uint8_t Range = 0x11;
inline constexpr uint8_t Uplus = 0x12;
inline constexpr uint8_t Uminus = 0x13;
inline constexpr uint8_t Percent = 0x14;
inline constexpr uint8_t Paren = 0x15;
inline constexpr uint8_t MissArg = 0x16;
inline constexpr uint8_t Str = 0x17;
inline constexpr uint8_t Extend = 0x18;
inline constexpr uint8_t Attr = 0x19;
inline constexpr uint8_t Err = 0x1C;
inline constexpr uint8_t Bool = 0x1D;
inline constexpr uint8_t Int = 0x1E;
inline constexpr uint8_t Num = 0x1F;
inline constexpr uint8_t Array = 0x20;
inline constexpr uint8_t Func = 0x21;
inline constexpr uint8_t FuncVar = 0x22;
inline constexpr uint8_t Name = 0x23;
inline constexpr uint8_t Ref = 0x24;
inline constexpr uint8_t Area = 0x25;
inline constexpr uint8_t MemArea = 0x26;
inline constexpr uint8_t MemErr = 0x27;
inline constexpr uint8_t MemNoMem = 0x28;
inline constexpr uint8_t MemFunc = 0x29;
inline constexpr uint8_t RefErr = 0x2A;
inline constexpr uint8_t AreaErr = 0x2B;
inline constexpr uint8_t RefN = 0x2C;
inline constexpr uint8_t AreaN = 0x2D;
inline constexpr uint8_t NameX = 0x39;
inline constexpr uint8_t Ref3d = 0x3A;
inline constexpr uint8_t Area3d = 0x3B;
inline constexpr uint8_t RefErr3d = 0x3C;
inline constexpr uint8_t AreaErr3d = 0x3D;
}  // namespace ptg

// ptgAttr option bits.
namespace attr {
inline constexpr uint8_t Semi = 0x01;
inline constexpr uint8_t If = 0x02;
inline constexpr uint8_t Choose = 0x04;
inline constexpr uint8_t Goto = 0x08;
inline constexpr uint8_t Sum = 0x10;
inline constexpr uint8_t Baxcel = 0x20;
inline constexpr uint8_t Space = 0x40;
}  // namespace attr

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

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

}  // namespace tallowby::engine::formula
