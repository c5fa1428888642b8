// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three presets as the window holds them: UTF-8 texts, read afresh whenever the run needs
// them.
#pragma once

#include <string>

namespace velmora {

class ParameterStore {
public:
    virtual ~ParameterStore() = default;
    virtual std::string nFi() const = 0;        // frequency preset
    virtual std::string nRozteč() const = 0;    // detector–diaphragm distance preset
    virtual std::string nSpomaleni() const = 0; // busy-wait count
};

// A store that is just three strings: for runs without a window.
struct PresetTexts : ParameterStore {
    std::string fi, rozteč, spomaleni;

    PresetTexts(std::string f, std::string r, std::string s)
        : fi(std::move(f)), rozteč(std::move(r)), spomaleni(std::move(s)) {}
    std::string nFi() const override { return fi; }
    std::string nRozteč() const override { return rozteč; }
    std::string nSpomaleni() const override { return spomaleni; }
};

} // namespace velmora
