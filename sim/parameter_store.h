// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three presets as the window holds them: texts, read afresh whenever the run needs them.
#pragma once

#include <QString>

namespace velmora {

class ParameterStore {
public:
    virtual ~ParameterStore() = default;
    virtual QString nFi() const = 0;        // frequency preset
    virtual QString nRozteč() const = 0;    // detector–diaphragm distance preset
    virtual QString nSpomaleni() const = 0; // busy-wait count
};

// A store that is just three strings: for runs without a window.
struct PresetTexts : ParameterStore {
    QString fi, rozteč, spomaleni;

    PresetTexts(QString f, QString r, QString s)
        : fi(std::move(f)), rozteč(std::move(r)), spomaleni(std::move(s)) {}
    QString nFi() const override { return fi; }
    QString nRozteč() const override { return rozteč; }
    QString nSpomaleni() const override { return spomaleni; }
};

} // namespace velmora
