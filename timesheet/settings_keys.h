#pragma once

// The keys of the timesheet's values in the settings store. Stores written by
// earlier versions use them, so they never change.
namespace tallowby::settings_keys {

inline constexpr char kCompany[] = "txtName";
inline constexpr char kAddress[] = "txtLocation";
inline constexpr char kCity[] = "txtCity";
inline constexpr char kPhone[] = "txtPhone";
inline constexpr char kEmployee[] = "txtEmp";
inline constexpr char kSupervisor[] = "txtSVisor";
inline constexpr char kWeekStart[] = "dtpDate";
inline constexpr char kRates[] = "Rates";
inline constexpr char kHours[] = "Hours";
inline constexpr char kListTab[] = "TabSel";
// Not a timesheet value: the timesheet files last opened or saved, newest
// first, as a packed list of one field per row.
inline constexpr char kRecentTimesheets[] = "RecentTimesheets";
// Not a timesheet value: "1" keeps the maker's home page from ever opening at
// start-up (see ui/desktop.h).
inline constexpr char kNoHomePage[] = "NoHomePage";

}  // namespace tallowby::settings_keys
