#pragma once

#include <array>
#include <utility>
#include <vector>

// The example data set of "Load Sample/Example Data".
namespace tallowby::sample_data {

struct SampleRate {
    const char* description;
    const char* rate;
};

inline constexpr std::array<SampleRate, 7> kRates{{{"Regular", "11.50"},
                                                   {"Overtime", "12.70"},
                                                   {"Illness", "6.50"},
                                                   {"Vacation", "5.50"},
                                                   {"Holiday", "14.58"},
                                                   {"Unpaid", "0"},
                                                   {"Other", "11"}}};

inline constexpr const char* kCompany = "ACME Inc";
inline constexpr const char* kAddress = "Birchwood st";
inline constexpr const char* kCity = "French Leek, IN";
inline constexpr const char* kPhone = "(988) 913-5480";
inline constexpr const char* kEmployee = "Arlen Tovey Jr.";
inline constexpr const char* kSupervisor = "Rolf Ambry";
inline constexpr int kWeekStartDaysAgo = 15;
inline constexpr const char* kHours = "02:00";

// Whether the pattern gives day `dayIndex` an entry of type `typeIndex`:
// typeIndex / (dayIndex + 1), rounded half to even, is a multiple of 3.
bool wantsEntry(int dayIndex, int typeIndex);

// Every (day index, type index) pair of the pattern, day by day, in order.
std::vector<std::pair<int, int>> pattern(int dayCount, int typeCount);

}  // namespace tallowby::sample_data
