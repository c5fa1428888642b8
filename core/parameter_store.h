// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three presets as the window's hidden text boxes hold them, in UTF-8: the option buttons
// and the speed bar write them, and the run reads them.
#pragma once

#include <string>

namespace velmora {

struct ParameterStore {
    std::string nFi;        // frequency preset
    std::string nRozteč;    // detector–diaphragm distance preset
    std::string nSpomaleni; // busy-wait count
    bool operator==(const ParameterStore&) const = default;
};

} // namespace velmora
