#pragma once

#include "app/settings_store.h"
#include "workbook/run/timesheet_record.h"

namespace tallowby {

// The timesheet as the entry window would show it after starting with this
// settings store: the general fields, the week start (today when the stored
// text is no date), the rates (the seven default descriptions when "Rates" is
// blank) and the hours. Throws tallowby::Failure when the store cannot be read.
TimesheetRecord recordFromSettings(const SettingsStore& store);

}  // namespace tallowby
