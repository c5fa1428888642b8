// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_time_error.h"

#include <cmath>
#include <limits>

namespace velmora {

RunTimeError::RunTimeError(int number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(message().toStdString()) {}

QString RunTimeError::message() const {
    return QStringLiteral("Run-time error '%1': %2").arg(m_number).arg(m_description);
}

float toSingle(double value) {
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        throw RunTimeError::overflow(); // NaN fails the test too
    return float(value);
}

} // namespace velmora
