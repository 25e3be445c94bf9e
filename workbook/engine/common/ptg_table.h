#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Formula token ids and sizes, shared by the file layer (which only steps
// over tokens) and the formula layer (which decodes them).
namespace tallowby::engine::ptg {

// Parsed-expression token ids (the base id; reference tokens carry a class
// in bits 5-6, see baseId).
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

// The class bits of a classed token (reference, value or array class).
inline constexpr uint8_t kClassMask = 0x60;

// The base id of a token byte: classed tokens map to their 0x20-0x3F form,
// the others are their own id.
constexpr uint8_t baseId(uint8_t raw) {
    return (raw & kClassMask) ? static_cast<uint8_t>((raw & 0x1F) | 0x20) : raw;
}

// The base id as the file layer walks tokens: every byte from 0x20 up counts
// as a classed token (bit 7, never set in a valid token, is passed over).
constexpr uint8_t walkedBaseId(uint8_t raw) {
    return raw >= 0x20 ? static_cast<uint8_t>((raw & 0x1F) | 0x20) : raw;
}

// The same token byte with its class bits replaced by those of `classOf`.
constexpr uint8_t withClassOf(uint8_t id, uint8_t classOf) {
    return static_cast<uint8_t>((classOf & kClassMask) | (id & 0x1F));
}

// True for the area forms of reference tokens (a base id).
constexpr bool isArea(uint8_t base) {
    return base == Area || base == AreaErr || base == AreaN || base == Area3d || base == AreaErr3d;
}

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

// The size in bytes (id byte included) of a token whose size does not depend
// on its contents, by base id; nothing for Str and Attr (their size is in
// their bytes) and for ids the engine does not know.
std::optional<size_t> fixedTokenSize(uint8_t base);

// The size in bytes of the token at the start of tokens (id byte included),
// or nothing when the token is unknown or runs past the end. Any byte of
// 0x20 and above counts as a classed token here.
std::optional<size_t> tokenSize(std::span<const uint8_t> tokens);

}  // namespace tallowby::engine::ptg
