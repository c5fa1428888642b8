// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "caption_layout.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

// Advance widths of the printable ASCII characters, in 2048ths of the em.
constexpr int unitsPerEm = 2048;
// clang-format off
constexpr std::array<short, 95> sansBold{{
    569, 682, 971, 1139, 1139, 1821, 1479, 487, 682, 682, 797, 1196, 569, 682, 569, 569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 682, 682, 1196, 1196, 1196, 1251,
    1997, 1479, 1479, 1479, 1479, 1366, 1251, 1593, 1479, 569, 1139, 1479, 1251, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 682, 569, 682, 1196, 1139,
    682, 1139, 1251, 1139, 1251, 1139, 682, 1251, 1251, 569, 569, 1139, 569, 1821, 1251, 1251,
    1251, 1251, 797, 1139, 682, 1251, 1139, 1593, 1139, 1139, 1024, 797, 573, 797, 1196,
}};
constexpr std::array<short, 95> serifBold{{
    512, 682, 1137, 1024, 1024, 2048, 1706, 569, 682, 682, 1024, 1167, 512, 682, 512, 569,
    1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 682, 682, 1167, 1167, 1167, 1024,
    1905, 1479, 1366, 1479, 1479, 1366, 1251, 1593, 1593, 797, 1024, 1593, 1366, 1933, 1479, 1593,
    1251, 1593, 1479, 1139, 1366, 1479, 1479, 2048, 1479, 1479, 1366, 682, 569, 682, 1190, 1024,
    682, 1024, 1139, 909, 1139, 909, 682, 1024, 1139, 569, 682, 1139, 569, 1706, 1139, 1024,
    1139, 1139, 909, 797, 682, 1139, 1024, 1479, 1024, 1024, 909, 807, 451, 807, 1065,
}};
// clang-format on

struct Face {
    const std::array<short, 95>& widths;
    int ascent, lineSpacing; // ascent + descent + line gap
};
constexpr Face sans{sansBold, 1854, 1854 + 434 + 67};
constexpr Face serif{serifBold, 1825, 1825 + 443 + 87};

const form::Font& resolved(const form::Font& font) {
    return font.face.empty() ? form::windowFont : font;
}

const Face& faceOf(const form::Font& font) {
    return resolved(font).face == "Times New Roman" ? serif : sans;
}

} // namespace

double fontPixels(const form::Font& font) {
    return resolved(font).points * 96 / 72;
}

double textWidth(std::string_view utf8, const form::Font& font) {
    const Face& face = faceOf(font);
    int units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            units += face.widths[byte - 0x20];
        else if ((byte & 0xC0) != 0x80) // a letter beyond ASCII counts as an "n"
            units += face.widths['n' - 0x20];
    }
    return units * fontPixels(font) / unitsPerEm;
}

double ascent(const form::Font& font) {
    return faceOf(font).ascent * fontPixels(font) / unitsPerEm;
}

double lineSpacing(const form::Font& font) {
    return faceOf(font).lineSpacing * fontPixels(font) / unitsPerEm;
}

std::vector<std::string> wrapCaption(std::string_view caption, const form::Font& font,
                                     double width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < caption.size()) {
        // A word with the spaces before it: at a break the spaces go, and the word starts a line.
        const std::size_t word = caption.find_first_not_of(' ', at);
        if (word == std::string_view::npos)
            break;
        const std::size_t end = std::min(caption.find(' ', word), caption.size());
        const std::string_view spaced = caption.substr(at, end - at);
        if (!line.empty() && textWidth(std::string(line).append(spaced), font) > width) {
            lines.push_back(std::move(line));
            line.assign(caption.substr(word, end - word));
        } else {
            line.append(line.empty() ? caption.substr(word, end - word) : spaced);
        }
        at = end;
    }
    if (!line.empty() || lines.empty())
        lines.push_back(std::move(line));
    return lines;
}

} // namespace velmora
