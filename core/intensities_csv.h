// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run's intensity bars as CSV, the same bytes from the command line and the page: a row per
// detector point from the bottom up, its height, its bar's length and the theory curve's there,
// in twips, each length with the 17 significant digits that read back as the very double, in
// every locale.
#pragma once

#include <string>
#include <vector>

namespace velmora {

std::string intensitiesCsv(const std::vector<double>& bars, const std::vector<double>& theory);

} // namespace velmora
