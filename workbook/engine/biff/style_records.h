#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/engine/model/style.h"

namespace tallowby::engine::biff {

// Decoding and encoding of the global formatting records: FONT, FORMAT, XF
// and PALETTE. Decoders throw FileFormatError on short records.
Font readFont(std::span<const uint8_t> data);
std::vector<uint8_t> fontRecord(const Font& font);

std::pair<uint16_t, std::string> readFormat(std::span<const uint8_t> data);
std::vector<uint8_t> formatRecord(uint16_t id, const std::string& code);

Xf readXf(std::span<const uint8_t> data);
std::vector<uint8_t> xfRecord(const Xf& xf);

// Fills palette entries 8.. from a PALETTE record.
void readPalette(std::span<const uint8_t> data, std::array<Rgb, 56>& palette);
std::vector<uint8_t> paletteRecord(const std::array<Rgb, 56>& palette);

}  // namespace tallowby::engine::biff
