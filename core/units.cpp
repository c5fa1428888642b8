// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "units.h"

#include "number_text.h"
#include "run_time_error.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace velmora {

namespace {

struct Unit {
    const char* name;
    double nanometres;
};
// Shown lengths use the largest unit in which they are at least 1.
constexpr std::array<Unit, 3> shownUnits{{{"nm", 1}, {"µm", 1e3}, {"mm", 1e6}}};

// Digits built from a rounded integer, so the C locale's decimal mark never enters.
std::string fixedText(double value, int decimals, std::string_view decimalPoint) {
    const double magnified = std::fabs(value) * std::pow(10.0, decimals);
    if (!(magnified < 1e18))
        return numberToText(value, decimalPoint);
    const long long scaled = std::llround(magnified);
    std::string digits = std::to_string(scaled);
    if (int(digits.size()) <= decimals)
        digits.insert(0, std::size_t(decimals + 1 - int(digits.size())), '0');
    std::string text = value < 0 && scaled != 0 ? "-" : "";
    text.append(digits, 0, digits.size() - std::size_t(decimals));
    if (decimals > 0)
        text.append(decimalPoint).append(digits, digits.size() - std::size_t(decimals));
    return text;
}

// Decimals that show `digits` significant digits, one fewer when rounding carries into a new
// whole digit (9.996 → "10.0").
int decimalsFor(double value, int digits) {
    const double magnitude = std::fabs(value);
    if (magnitude == 0)
        return digits - 1;
    int decimals = std::max(0, digits - 1 - int(std::floor(std::log10(magnitude))));
    if (decimals > 0 && std::round(magnitude * std::pow(10.0, decimals)) >= std::pow(10.0, digits))
        --decimals;
    return decimals;
}

std::string withUnit(double twips, int digits, std::string_view decimalPoint) {
    const double nanometres = twipsToNanometres(twips);
    if (!std::isfinite(nanometres))
        return numberToText(nanometres, decimalPoint) + " nm";
    const Unit* unit = &shownUnits[0];
    for (const Unit& u : shownUnits) {
        const double inUnit = std::fabs(nanometres) / u.nanometres;
        const int decimals = decimalsFor(inUnit, digits);
        if (std::round(inUnit * std::pow(10.0, decimals)) >= std::pow(10.0, decimals))
            unit = &u;
    }
    const double inUnit = nanometres / unit->nanometres;
    return fixedText(inUnit, decimalsFor(inUnit, digits), decimalPoint) + " " + unit->name;
}

// An end of a range in its own unit and its shortest digits: "5 nm", "17.5 µm".
std::string endText(double nanometres, std::string_view decimalPoint) {
    const Unit* unit = &shownUnits[0];
    for (const Unit& u : shownUnits) {
        if (nanometres >= u.nanometres)
            unit = &u;
    }
    return numberToText(nanometres / unit->nanometres, decimalPoint) + " " + unit->name;
}

struct ReadUnit {
    std::string_view suffix;
    std::string_view shown;
    double nanometres;
};
// The micro sign and the Greek mu look alike; both are taken.
constexpr std::array<ReadUnit, 5> readUnits{{{"nm", "nm", 1},
                                             {"um", "µm", 1e3},
                                             {"\u00B5m", "µm", 1e3},
                                             {"\u03BCm", "µm", 1e3},
                                             {"mm", "mm", 1e6}}};

std::string_view withoutTrailingSpace(std::string_view text) {
    for (;;) {
        if (!text.empty() && (text.back() == ' ' || (text.back() >= '\t' && text.back() <= '\r')))
            text.remove_suffix(1);
        else if (text.size() >= 2 && text.substr(text.size() - 2) == "\u00A0")
            text.remove_suffix(2);
        else
            return text;
    }
}

std::optional<double> numberIn(std::string_view text, std::string_view decimalPoint,
                               bool& overflow) {
    try {
        return textToNumber(text, decimalPoint);
    } catch (const RunTimeError& e) {
        overflow = e.number() == RunTimeError::overflow().number();
        return std::nullopt;
    }
}

} // namespace

std::string wavelengthText(double twips, std::string_view decimalPoint) {
    return withUnit(twips, 3, decimalPoint);
}

std::string lengthText(double twips, std::string_view decimalPoint) {
    return withUnit(twips, 4, decimalPoint);
}

std::string significantText(double value, int digits, std::string_view decimalPoint) {
    if (!std::isfinite(value))
        return numberToText(value, decimalPoint);
    return fixedText(value, decimalsFor(value, digits), decimalPoint);
}

const QuantityRange& rangeOf(Quantity quantity) {
    for (const QuantityRange& range : quantityRanges) {
        if (range.quantity == quantity)
            return range;
    }
    return quantityRanges[0];
}

std::string rangeText(Quantity quantity, std::string_view decimalPoint) {
    const QuantityRange& range = rangeOf(quantity);
    return "from " + endText(range.lowest, decimalPoint) + " to " +
           endText(range.highest, decimalPoint);
}

LengthReading readLength(std::string_view text, Quantity quantity, std::string_view decimalPoint) {
    const QuantityRange& range = rangeOf(quantity);
    const std::string name = range.name;
    std::string example = range.example;
    if (const auto point = example.find('.'); point != std::string::npos)
        example.replace(point, 1, decimalPoint);
    const std::string what = "write it with nm, µm (or um) or mm, " +
                             rangeText(quantity, decimalPoint) + ", for example \"" + example +
                             "\".";
    const std::string outOfRange =
        " is out of range: it must be " + rangeText(quantity, decimalPoint) + ".";

    const std::string_view trimmed = withoutTrailingSpace(text);
    const ReadUnit* unit = nullptr;
    for (const ReadUnit& u : readUnits) {
        if (trimmed.size() >= u.suffix.size() &&
            trimmed.substr(trimmed.size() - u.suffix.size()) == u.suffix)
            unit = &u;
    }
    bool overflow = false;
    if (!unit) {
        if (trimmed.empty())
            return {0, "No " + name + " given: " + what};
        if (numberIn(trimmed, decimalPoint, overflow) || overflow)
            return {0, "The " + name + " has no unit: " + what};
        return {0, "The " + name + " is not a number with a unit: " + what};
    }
    const std::string_view digits = trimmed.substr(0, trimmed.size() - unit->suffix.size());
    const std::optional<double> number = numberIn(digits, decimalPoint, overflow);
    if (overflow)
        return {0, "The " + name + outOfRange};
    if (!number || std::isnan(*number))
        return {0, "The " + name + " is not a number with a unit: " + what};
    const double nanometres = *number * unit->nanometres;
    if (!(nanometres >= range.lowest && nanometres <= range.highest)) {
        if (!std::isfinite(nanometres))
            return {0, "The " + name + outOfRange};
        return {0, "The " + name + " " + numberToText(*number, decimalPoint) + " " +
                       std::string(unit->shown) + outOfRange};
    }
    return {nanometresToTwips(nanometres), {}};
}

} // namespace velmora
