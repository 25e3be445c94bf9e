#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace tallowby::engine::testing {

// Builds BIFF8 token arrays byte by byte, as the file format lays them out.
class Tokens {
  public:
    Tokens& byte(uint8_t b) {
        bytes_.push_back(b);
        return *this;
    }
    Tokens& word(uint16_t w) {
        bytes_.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes_.push_back(static_cast<uint8_t>(w >> 8));
        return *this;
    }
    // A reference with the relative bits set: A1-style, relative by default.
    Tokens& ref(uint16_t row, uint16_t col, uint8_t id = 0x44, bool rowRel = true,
                bool colRel = true) {
        return byte(id).word(row).word(colWord(col, rowRel, colRel));
    }
    Tokens& area(uint16_t r1, uint16_t c1, uint16_t r2, uint16_t c2, uint8_t id = 0x25,
                 bool relative = true) {
        return byte(id)
            .word(r1)
            .word(r2)
            .word(colWord(c1, relative, relative))
            .word(colWord(c2, relative, relative));
    }
    Tokens& ref3d(uint16_t ixti, uint16_t row, uint16_t col) {
        return byte(0x3A).word(ixti).word(row).word(colWord(col, true, true));
    }
    Tokens& integer(uint16_t v) { return byte(0x1E).word(v); }
    Tokens& number(double v) {
        byte(0x1F);
        uint8_t raw[8];
        std::memcpy(raw, &v, 8);
        for (uint8_t b : raw) byte(b);
        return *this;
    }
    Tokens& str(const std::string& s) {
        byte(0x17).byte(static_cast<uint8_t>(s.size())).byte(0);
        for (char c : s) byte(static_cast<uint8_t>(c));
        return *this;
    }
    Tokens& boolean(bool b) { return byte(0x1D).byte(b ? 1 : 0); }
    Tokens& error(uint8_t code) { return byte(0x1C).byte(code); }
    Tokens& op(uint8_t id) { return byte(id); }
    Tokens& add() { return op(0x03); }
    Tokens& sub() { return op(0x04); }
    Tokens& mul() { return op(0x05); }
    Tokens& div() { return op(0x06); }
    Tokens& paren() { return op(0x15); }
    Tokens& funcVar(uint16_t index, uint8_t args) { return byte(0x42).byte(args).word(index); }
    Tokens& func(uint16_t index) { return byte(0x41).word(index); }
    Tokens& attrSum() { return byte(0x19).byte(0x10).word(0); }
    Tokens& attr(uint8_t options, uint16_t data) { return byte(0x19).byte(options).word(data); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    operator std::vector<uint8_t>() const { return bytes_; }

  private:
    static uint16_t colWord(uint16_t col, bool rowRel, bool colRel) {
        return static_cast<uint16_t>(col | (colRel ? 0x4000 : 0) | (rowRel ? 0x8000 : 0));
    }
    std::vector<uint8_t> bytes_;
};

}  // namespace tallowby::engine::testing
