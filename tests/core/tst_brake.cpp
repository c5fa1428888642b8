// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The brake on a fake clock: it sleeps through most of a long wait, however late its wake-ups
// come, and still ends on time.
#include "brake.h"

#include <doctest/doctest.h>

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {
// Each read costs 20 ns, as a spin's reads do; a sleep wakes `lateness` after the time asked.
struct FakeTime {
    using duration = nanoseconds;
    using time_point = std::chrono::time_point<FakeTime>;
    time_point t{};
    nanoseconds lateness{}, slept{};
    time_point now() { return t += 20ns; }
    void operator()(nanoseconds d) { slept += d, t += d + lateness; }
};
} // namespace

TEST_CASE("brake sleeps and ends on time") {
    // The right end of the speed bar: 983011 × 18 ns.
    const struct {
        const char* name;
        nanoseconds wait, lateness, minSlept;
    } rows[] = {
        {"slowest, punctual sleeps", 17'694'198ns, 0ns, 17'400'000ns},
        {"slowest, late wake-ups", 17'694'198ns, 60'000ns, 17'000'000ns},
        {"shorter than the spin", 150'000ns, 0ns, 0ns},
        {"nothing", 0ns, 0ns, 0ns},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        FakeTime time{{}, r.lateness, {}};
        velmora::brakeWait(r.wait, time, time);
        // Ends no earlier, and no later than a read and the first read after it.
        CHECK(time.t.time_since_epoch() >= r.wait);
        CHECK(time.t.time_since_epoch() <= r.wait + (r.wait > 0ns ? 40ns : 0ns));
        CHECK(time.slept >= r.minSlept);
    }
}
