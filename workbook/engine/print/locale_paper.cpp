#include "workbook/engine/print/locale_paper.h"

#include <algorithm>
#include <array>

namespace tallowby::engine::print {

PaperSize paperForLocale(const QLocale& locale) {
    static constexpr std::array kLetterCountries{QLocale::UnitedStates,
                                                 QLocale::Canada,
                                                 QLocale::Mexico,
                                                 QLocale::Philippines,
                                                 QLocale::Chile,
                                                 QLocale::Colombia,
                                                 QLocale::Venezuela,
                                                 QLocale::CostaRica,
                                                 QLocale::Guatemala,
                                                 QLocale::Panama,
                                                 QLocale::PuertoRico,
                                                 QLocale::DominicanRepublic,
                                                 QLocale::ElSalvador,
                                                 QLocale::Nicaragua,
                                                 QLocale::Belize,
                                                 QLocale::Honduras,
                                                 QLocale::Bolivia,
                                                 QLocale::UnitedStatesOutlyingIslands,
                                                 QLocale::UnitedStatesVirginIslands};
    const auto territory = locale.territory();
    return std::find(kLetterCountries.begin(), kLetterCountries.end(), territory) !=
                   kLetterCountries.end()
               ? kLetter
               : kA4;
}

}  // namespace tallowby::engine::print
