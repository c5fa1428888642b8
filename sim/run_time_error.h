// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run-time error: the run stops where it is raised and the window reports it.
#pragma once

#include <QString>

#include <exception>
#include <string>

namespace velmora {

class RunTimeError : public std::exception {
public:
    RunTimeError(int number, QString description);

    static RunTimeError typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
    static RunTimeError overflow() { return {6, QStringLiteral("Overflow")}; }
    static RunTimeError outOfMemory() { return {7, QStringLiteral("Out of memory")}; }

    int number() const { return m_number; }
    QString description() const { return m_description; }
    // "Run-time error '13': Type mismatch"
    QString message() const;
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    std::string m_what;
};

// Coordinates reach the primitives in single precision; a value that does not fit is an
// overflow, as it would be for any conversion to single.
float toSingle(double value);

} // namespace velmora
