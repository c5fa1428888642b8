// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints a whole native run's drawing calls, one a line: the opcode, then its operands, floats
// in C's exact hexadecimal form. The browser tests hold the page's calls against them.
//   velmora_call_dump FI ROZTEČ SPOMALENI [WAVELENGTH APERTURE DISTANCE THEORY]
// with Explore's values in twips, and THEORY 1 for the theory curve.

#include "command_recorder.h"

#include "start_action.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4 && argc != 8) {
        std::fprintf(stderr,
                     "usage: %s FI ROZTEČ SPOMALENI [WAVELENGTH APERTURE DISTANCE THEORY]\n",
                     argv[0]);
        return 2;
    }
    const velmora::ParameterStore presets{argv[1], argv[2], argv[3]};
    velmora::ExploreSettings explore;
    if (argc == 8) {
        explore.parameters = velmora::exploreParameters({std::strtod(argv[4], nullptr),
                                                         std::strtod(argv[5], nullptr),
                                                         std::strtod(argv[6], nullptr)});
        explore.theoryCurve = std::strcmp(argv[7], "1") == 0;
    }
    velmora::web::CommandRecorder recorder;
    velmora::NoLabels labels;
    velmora::runStartAction(presets, recorder, labels, ".", {}, explore);

    // Operand words and how many of them, from the first, are floats; by opcode.
    constexpr int sizes[][2] = {{0, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0},
                                {4, 4}, {5, 4}, {3, 3}, {0, 0}};
    const std::vector<std::uint32_t>& words = recorder.words();
    for (std::size_t i = 0; i < words.size();) {
        const std::uint32_t op = words[i++];
        std::printf("%u", op);
        for (int k = 0; k < sizes[op][0]; ++k, ++i) {
            float f;
            std::memcpy(&f, &words[i], sizeof f);
            k < sizes[op][1] ? std::printf(" %a", double(f)) : std::printf(" %u", words[i]);
        }
        std::printf("\n");
    }
}
