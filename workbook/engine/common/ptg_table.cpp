#include "workbook/engine/common/ptg_table.h"

#include <array>

namespace tallowby::engine::ptg {

namespace {

// Sizes by base id; 0 where the size is not fixed or the id is unknown.
constexpr std::array<uint8_t, 0x40> kFixedSizes = [] {
    std::array<uint8_t, 0x40> s{};
    s[Exp] = s[Tbl] = 5;  // the cell that holds the array or table
    for (uint8_t op = Add; op <= MissArg; ++op) s[op] = 1;  // operators, parentheses
    s[Err] = s[Bool] = 2;
    s[Int] = 3;
    s[Num] = 9;
    s[Array] = 8;  // its values live after the tokens
    s[Func] = 3;
    s[FuncVar] = 4;
    s[Name] = 5;
    s[Ref] = s[RefErr] = s[RefN] = 5;
    s[Area] = s[AreaErr] = s[AreaN] = 9;
    s[MemArea] = s[MemErr] = s[MemNoMem] = 7;
    s[MemFunc] = 3;
    s[NameX] = 7;
    s[Ref3d] = s[RefErr3d] = 7;
    s[Area3d] = s[AreaErr3d] = 11;
    return s;
}();

uint16_t peek16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

std::optional<size_t> fixedTokenSize(uint8_t base) {
    if (base >= kFixedSizes.size() || kFixedSizes[base] == 0) return std::nullopt;
    return kFixedSizes[base];
}

std::optional<size_t> tokenSize(std::span<const uint8_t> t) {
    if (t.empty()) return std::nullopt;
    const uint8_t base = walkedBaseId(t[0]);
    size_t size = 0;
    if (base == Str) {  // count, flags, characters
        if (t.size() < 3) return std::nullopt;
        size = 3 + size_t{t[1]} * ((t[2] & 0x01) ? 2 : 1);
    } else if (base == Attr) {  // a choose table adds its jump offsets
        if (t.size() < 4) return std::nullopt;
        size = 4;
        if (t[1] & attr::Choose) size += (size_t{peek16(t.data() + 2)} + 1) * 2;
    } else if (auto fixed = fixedTokenSize(base)) {
        size = *fixed;
    } else {
        return std::nullopt;
    }
    if (size > t.size()) return std::nullopt;
    return size;
}

}  // namespace tallowby::engine::ptg
