// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints a whole native run's drawing calls as text, one call a line, floats in C's exact
// hexadecimal form, for the browser tests to hold the page's calls against.
//   velmora_call_dump FI ROZTEČ SPOMALENI

#include "command_recorder.h"

#include "parameter_store.h"
#include "result_labels.h"
#include "start_action.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class NoLabels final : public velmora::LabelBoard {
public:
    void showLabel(velmora::ResultLabel, float, float) override {}
};

float asFloat(std::uint32_t w) {
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

void print(const std::vector<std::uint32_t>& words) {
    using velmora::web::Op;
    for (std::size_t i = 0; i < words.size();) {
        const auto f = [&](std::size_t k) { return double(asFloat(words[i + k])); };
        switch (Op(words[i])) {
        case Op::ScaleMode:
        case Op::DrawWidth:
        case Op::FillColor:
        case Op::FillStyle:
            std::printf("%u %u\n", words[i], words[i + 1]);
            i += 2;
            break;
        case Op::Line:
            std::printf("%u %a %a %a %a\n", words[i], f(1), f(2), f(3), f(4));
            i += 5;
            break;
        case Op::ColouredLine:
            std::printf("%u %a %a %a %a %u\n", words[i], f(1), f(2), f(3), f(4), words[i + 5]);
            i += 6;
            break;
        case Op::Circle:
            std::printf("%u %a %a %a\n", words[i], f(1), f(2), f(3));
            i += 4;
            break;
        case Op::Present:
            std::printf("%u\n", words[i]);
            i += 1;
            break;
        default:
            std::fprintf(stderr, "unknown drawing command %u\n", words[i]);
            std::exit(1);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FI ROZTEČ SPOMALENI\n", argv[0]);
        return 2;
    }
    const velmora::PresetTexts presets(argv[1], argv[2], argv[3]);
    velmora::web::CommandRecorder recorder;
    NoLabels labels;
    velmora::StartAction run(presets, recorder, labels);
    run.begin();
    while (run.scanning())
        run.step();
    run.finish();
    print(recorder.words());
}
