#pragma once

#include <QLocale>

#include "workbook/engine/print/page_layout.h"

namespace tallowby::engine::print {

// The paper people in the locale's country print on: Letter in North
// America and the countries that follow it, A4 everywhere else.
PaperSize paperForLocale(const QLocale& locale);

}  // namespace tallowby::engine::print
