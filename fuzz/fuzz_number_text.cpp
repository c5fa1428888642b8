// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Arbitrary bytes as a preset text, read with the decimal separators of English, Czech, and Arabic
// and Persian (which share one) by every routine that turns preset text into numbers. Any broken
// property aborts, which libFuzzer records as a crash.
#include "number_text.h"
#include "presets.h"
#include "run_time_error.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using namespace velmora;

namespace {

using Locale = std::string_view; // its decimal separator

void require(bool holds, const char* property, const std::string& text, Locale locale) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n  text: \"%s\"\n  decimal separator: %s\n", property,
                 text.c_str(), std::string(locale).c_str());
    std::abort();
}

bool isRefusal(const RunTimeError& e, int number) {
    const std::string description = number == 13 ? "Type mismatch" : "Overflow";
    return e.number() == number && e.description() == description &&
           e.message() == "Run-time error '" + std::to_string(number) + "': " + description &&
           e.what() == e.message();
}

bool isPlainInteger(const std::string& text) {
    std::size_t i = text.rfind('-', 0) == 0 ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

void checkText(const std::string& text, Locale locale) {
    // Text that is no number is a type mismatch; a number beyond a double's range overflows.
    std::optional<double> number;
    int refusal = 0;
    try {
        number = textToNumber(text, locale);
    } catch (const RunTimeError& e) {
        refusal = e.number();
        require(isRefusal(e, 13) || isRefusal(e, 6), "textToNumber refuses with 13 or 6", text,
                locale);
    }

    if (number && std::isfinite(*number) && *number == std::trunc(*number) &&
        std::fabs(*number) < 9007199254740992.0) {
        const std::string written = numberToText(*number, locale);
        require(isPlainInteger(written), "whole numbers are written as plain digits", text, locale);
        double back = NAN;
        try {
            back = textToNumber(written, locale);
        } catch (const RunTimeError&) {
        }
        require(back == *number, "whole numbers read back as themselves", text, locale);
    }

    try {
        const double x = detectorXFor(text, 3500, locale);
        require(number.has_value(), "detectorX only from a number", text, locale);
        require(std::isfinite(x), "every accepted detectorX is finite", text, locale);
    } catch (const RunTimeError& e) {
        require(isRefusal(e, number ? 6 : refusal), "detectorX refusal names its cause", text,
                locale);
    }

    try {
        const std::uint32_t count = delayCountFor(text, locale);
        require(number.has_value(), "delay count only from a number", text, locale);
        require(count <= maxDelayCount, "delay count held to the scroll bar's largest", text,
                locale);
    } catch (const RunTimeError& e) {
        const bool nan = number && std::isnan(*number);
        require(isRefusal(e, number ? (nan ? 6 : 0) : refusal),
                "delay count refusal names its cause", text, locale);
    }

    // The scale table's keys are the numeric distance presets in any locale.
    if (const auto scale = intensityScaleFor(text)) {
        require(number && (*number == 300 || *number == 350 || *number == 400) && *scale > 0 &&
                    *scale < 1,
                "intensity scale only for a distance preset", text, locale);
    }

    // A recognised frequency preset is the canonical text of its own value.
    const Frequency f = frequencyFor(text, locale);
    if (f.stepLength != 0 || f.phaseFactor != 0) {
        require(number && numberToText(*number, locale) == text && f.stepLength > 0 &&
                    f.phaseFactor > 0,
                "frequency preset recognised by canonical text only", text, locale);
    }
}

// Shortest round-trip writing: any finite double reads back bit for bit (0 for -0).
void checkWriting(double value, Locale locale) {
    if (!std::isfinite(value))
        return;
    const std::string written = numberToText(value, locale);
    double back = NAN;
    try {
        back = textToNumber(written, locale);
    } catch (const RunTimeError&) {
    }
    require(back == value, "numberToText reads back as the same double", written, locale);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    double bits = 0;
    if (size >= sizeof bits)
        std::memcpy(&bits, data, sizeof bits);
    for (Locale locale : {".", ",", "\u066B"}) {
        checkText(text, locale);
        if (size >= sizeof bits)
            checkWriting(bits, locale);
    }
    return 0;
}
