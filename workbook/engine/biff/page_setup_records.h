#pragma once

#include <vector>

#include "workbook/engine/model/page_setup.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::biff {

// The page setup that a worksheet's kept records state (SETUP, the four
// margins, HCENTER, VCENTER, HEADER, FOOTER, the page breaks and WSBOOL). A
// record too short to read is left out of the model and kept as it is.
PageSetup readPageSetup(const std::vector<RawRecord>& records);

// Makes the records state `setup`: a record that already says what the model
// holds keeps its bytes, one that says something else is re-encoded in place,
// a missing one is added where page setup belongs, and one the model no
// longer holds is removed.
void applyPageSetup(const PageSetup& setup, std::vector<RawRecord>& records);

}  // namespace tallowby::engine::biff
