#pragma once

#include <cstdint>

namespace tallowby::engine::xlsx {

// The width to hand worksheet_set_column() for a column the model keeps in
// 1/256 of a digit width, padding included. The API takes the width a user
// types (padding excluded) and rounds it to whole pixels of a 7-pixel digit
// with 5 pixels of padding, so the file ends up within one pixel of the model.
double xlsxColumnWidth(uint16_t biffWidth);

// The width in 1/256 of a digit the file states for that API width, as the
// API computes it; for tests and for judging the rounding.
double writtenColumnWidth(double apiWidth);

}  // namespace tallowby::engine::xlsx
