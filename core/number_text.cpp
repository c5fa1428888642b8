// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "number_text.h"

#include "run_time_error.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora {

namespace {

// Shortest decimal digits that read back as `value` (finite, non-zero, positive), and the
// position of the decimal point relative to them: value = 0.DIGITS × 10^point.
struct Decimal {
    std::string digits;
    int point = 0;
};

// Reads C-locale number text; false when the magnitude is beyond a double (either way).
bool readC(const char* text, double& value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    return std::from_chars(text, text + std::strlen(text), value).ec == std::errc();
#else
    // strtod follows the C locale's mark, which only the desktop's toolkit changes; this branch
    // serves the browser.
    value = std::strtod(text, nullptr);
    return !std::isinf(value) && value != 0;
#endif
}

Decimal shortest(double value) {
    char buffer[40];
    for (int precision = 0;; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
        double back = 0;
        if (precision == 16 || (readC(buffer, back) && back == value))
            break;
    }
    // "d.ddde±x", written with the C locale's '.' whatever the process's locale: the mark is
    // skipped by position, not by value.
    Decimal d;
    const char* p = buffer;
    d.digits += *p++;
    if (*p != 'e')
        ++p;
    while (*p != 'e')
        d.digits += *p++;
    d.point = std::atoi(p + 1) + 1;
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// The shorter of the decimal and exponent forms (the decimal one when they tie), exponents of
// at least two digits: as the C locale writes a double's shortest text.
std::string formatShortest(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    std::string text = std::signbit(value) ? "-" : "";
    if (value == 0)
        return text.append("0");
    const Decimal d = shortest(std::fabs(value));
    const int count = int(d.digits.size());
    // Built by appending: GCC 12 warns falsely of overlapping copies in a chain of +.
    std::string decimal;
    if (d.point <= 0)
        decimal.append("0.").append(std::size_t(-d.point), '0').append(d.digits);
    else if (d.point >= count)
        decimal.append(d.digits).append(std::size_t(d.point - count), '0');
    else
        decimal.append(d.digits, 0, std::size_t(d.point))
            .append(".")
            .append(d.digits, std::size_t(d.point));
    std::string scientific = d.digits.substr(0, 1);
    if (count > 1)
        scientific.append(".").append(d.digits, 1);
    const int exponent = d.point - 1;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    scientific += buffer;
    return text.append(scientific.size() < decimal.size() ? scientific : decimal);
}

// The code point starting at text[i] and its length in bytes; invalid UTF-8 is one byte of
// code point 0xFFFD.
char32_t codePointAt(std::string_view text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = 1;
    if (lead < 0x80)
        return lead;
    const std::size_t extra = lead >= 0xF5   ? 0
                              : lead >= 0xF0 ? 3
                              : lead >= 0xE0 ? 2
                              : lead >= 0xC2 ? 1
                                             : 0;
    if (extra == 0)
        return 0xFFFD;
    char32_t c = lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        if (i + k >= text.size() || (byte(i + k) & 0xC0) != 0x80)
            return 0xFFFD;
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    // Overlong forms and surrogates are no characters: a disguised space is not trimmed.
    constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0xFFFD;
    length = extra + 1;
    return c;
}

// Unicode's white space, as a text's surroundings are trimmed.
bool isSpace(char32_t c) {
    return c == 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::string_view trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t length = 0;
    while (begin < text.size() && isSpace(codePointAt(text, begin, length)))
        begin += length;
    std::size_t end = begin;
    std::size_t contentEnd = begin;
    while (end < text.size()) {
        const bool space = isSpace(codePointAt(text, end, length));
        end += length;
        if (!space)
            contentEnd = end;
    }
    return text.substr(begin, contentEnd - begin);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Reading { Number, NotANumber, Overflow };

// The C locale's grammar: [sign] (digits [. digits] | . digits) [e [sign] digits], or nan,
// inf, +inf, -inf in either case. Too large a magnitude overflows; a non-zero number too small
// for a double is refused as no number.
Reading readNumber(std::string_view text, double& value) {
    // The minus sign U+2212 reads as '-'.
    std::string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\u2212") == 0) {
            s += '-';
            i += 2;
        } else {
            const char c = text[i];
            s += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        }
    }
    if (s == "nan") {
        value = std::nan("");
        return Reading::Number;
    }
    if (s == "inf" || s == "+inf" || s == "-inf") {
        value = s[0] == '-' ? -HUGE_VAL : HUGE_VAL;
        return Reading::Number;
    }
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    // Where the first significant digit stands relative to the point, to tell an overflow
    // from an underflow without trusting the conversion's error reporting.
    long long magnitude = 0;
    bool seenDigit = false, nonZero = false, afterPoint = false;
    for (; i < s.size() && (isDigit(s[i]) || (s[i] == '.' && !afterPoint)); ++i) {
        if (s[i] == '.') {
            afterPoint = true;
            continue;
        }
        seenDigit = true;
        if (!nonZero && s[i] != '0')
            nonZero = true;
        if (nonZero && !afterPoint)
            ++magnitude;
        else if (!nonZero && afterPoint)
            --magnitude;
    }
    if (!seenDigit)
        return Reading::NotANumber;
    if (i < s.size() && s[i] == 'e') {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negative = s[i++] == '-';
        if (i == s.size() || !isDigit(s[i]))
            return Reading::NotANumber;
        long long exponent = 0;
        for (; i < s.size() && isDigit(s[i]); ++i)
            exponent = std::min(exponent * 10 + (s[i] - '0'), 1LL << 40);
        magnitude += negative ? -exponent : exponent;
    }
    if (i != s.size())
        return Reading::NotANumber;
    if (!nonZero) {
        value = s[0] == '-' ? -0.0 : 0.0;
        return Reading::Number;
    }
    if (magnitude > 400)
        return Reading::Overflow;
    if (magnitude < -400)
        return Reading::NotANumber;
    if (readC(s.c_str() + (s[0] == '+'), value)) // from_chars takes no '+'
        return Reading::Number;
    return magnitude > 0 ? Reading::Overflow : Reading::NotANumber;
}

} // namespace

std::string numberToText(double value, std::string_view decimalPoint) {
    // Integers below 2^53 are exact; 'g' would turn 1e6 into an exponent.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9007199254740992.0)
        return std::to_string(static_cast<long long>(value));
    const std::string text = formatShortest(value);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    return std::string(text, 0, point).append(decimalPoint).append(text, point + 1);
}

double textToNumber(std::string_view text, std::string_view decimalPoint) {
    // A '.' where the locale writes another mark is some other number's text (or a group
    // separator, as in "1.000"): refused, not read as a fraction.
    if (decimalPoint != "." && text.find('.') != std::string_view::npos)
        throw RunTimeError::typeMismatch();
    std::string c;
    for (std::size_t i = 0; i < text.size();) {
        if (!decimalPoint.empty() && text.substr(i, decimalPoint.size()) == decimalPoint) {
            c += '.';
            i += decimalPoint.size();
        } else {
            c += text[i++];
        }
    }
    double value = 0;
    switch (readNumber(trimmed(c), value)) {
    case Reading::Number:
        return value;
    case Reading::Overflow: // a number too large for a double is still a number: it overflows
        throw RunTimeError::overflow();
    case Reading::NotANumber:
        break;
    }
    throw RunTimeError::typeMismatch();
}

} // namespace velmora
