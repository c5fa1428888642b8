// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run-time error: the run stops where it is raised and the front end reports it.
#pragma once

#include <exception>
#include <string>

namespace velmora {

class RunTimeError : public std::exception {
public:
    RunTimeError(int number, std::string description);

    static RunTimeError typeMismatch() { return {13, "Type mismatch"}; }
    static RunTimeError overflow() { return {6, "Overflow"}; }
    static RunTimeError outOfMemory() { return {7, "Out of memory"}; }

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }
    // "Run-time error '13': Type mismatch"
    const std::string& message() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    int m_number;
    std::string m_description;
    std::string m_message;
};

// Coordinates reach the primitives in single precision; a value that does not fit is an
// overflow, as it would be for any conversion to single.
float toSingle(double value);

} // namespace velmora
