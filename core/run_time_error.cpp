// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_time_error.h"

#include <cmath>
#include <limits>

namespace velmora {

RunTimeError::RunTimeError(int number, std::string description)
    : m_number(number), m_description(std::move(description)) {
    // Appended, not concatenated: GCC 12 warns falsely of overlapping copies in a + chain.
    m_message.append("Run-time error '").append(std::to_string(number)).append("': ");
    m_message.append(m_description);
}

float toSingle(double value) {
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        throw RunTimeError::overflow(); // NaN fails the test too
    return float(value);
}

} // namespace velmora
