// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "intensities_csv.h"

#include "spiral_scan.h"

#include <locale>
#include <sstream>

namespace velmora {

std::string intensitiesCsv(const std::vector<double>& bars, const std::vector<double>& theory) {
    // The classic locale's stream: printf would take the process's decimal point, which Qt sets
    // from the user's, and Emscripten's library has no floating-point to_chars.
    std::ostringstream csv;
    csv.imbue(std::locale::classic());
    csv.precision(17);
    csv << "y_twips,intensity_twips,theory_twips\n";
    for (std::size_t i = 0; i < bars.size(); ++i)
        csv << scanPointY(int(i)) << ',' << bars[i] << ',' << theory.at(i) << '\n';
    return csv.str();
}

} // namespace velmora
