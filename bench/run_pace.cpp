// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How long a run takes as the user sees it, at three positions of the speed scroll bar, and how
// many distinct pictures reach the screen during the slowest. A second X connection, on its own
// thread, keeps reading the plot's pixels while the run blocks the window's thread: the time of
// the last change is when the last bar reached the screen. Needs an X display (Xvfb will do).
#include "brake.h"
#include "frm_velmora.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

#include <time.h>

using Clock = std::chrono::steady_clock;

namespace {

struct Change {
    Clock::time_point at;
    std::size_t picture;
};

// Polls the plot (dots and bars: x from the plot axis to the right edge, the detector's height)
// and keeps every change of its pixels with the time it was seen.
class Watcher {
public:
    explicit Watcher(unsigned long window) : m_window(window) {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            qFatal("The watcher cannot open the display.");
        m_thread = std::thread([this] { poll(); });
    }
    ~Watcher() {
        m_stop = true;
        m_thread.join();
        XCloseDisplay(m_display);
    }
    // The changes seen since the last call.
    std::vector<Change> take() {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_changes, {});
    }

private:
    void poll() {
        std::size_t last = 0;
        while (!m_stop) {
            XImage* image = XGetImage(m_display, m_window, 497, 98, 268, 376, AllPlanes, ZPixmap);
            if (image) {
                const std::size_t picture = std::hash<std::string_view>{}(std::string_view(
                    image->data, std::size_t(image->bytes_per_line) * std::size_t(image->height)));
                const Clock::time_point now = Clock::now();
                XDestroyImage(image);
                if (picture != last) {
                    const std::lock_guard lock(m_mutex);
                    m_changes.push_back({now, picture});
                    last = picture;
                }
            }
            // Leaves the server and the window's thread a share of two cores.
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }

    Display* m_display = nullptr;
    unsigned long m_window;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Change> m_changes;
};

std::string firstLine(const char* path, const std::string& prefix) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0)
            return line.substr(line.find(':') == std::string::npos ? 0 : line.find(':') + 2);
    }
    return "?";
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// CPU time of the calling thread alone: the watcher's own polling does not count.
double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

} // namespace

int main(int argc, char** argv) {
    XInitThreads(); // the watcher's connection lives on a thread of its own
    prepareWindowSystem();
    QApplication app(argc, argv);
    frmVelmora window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("The window never appeared on the display.");
    QTest::qWait(200);

    std::printf("CPU: %s; load average: %s\n", firstLine("/proc/cpuinfo", "model name").c_str(),
                firstLine("/proc/loadavg", "").c_str());

    // The brake alone, without drawing: a count of 1 costs what the clock reads cost.
    // The median of many waits, so a preemption by a busy neighbour does not count.
    for (const std::uint32_t count : {1u, 491491u, 983011u}) {
        const int batch = count == 1 ? 1000 : 1;
        std::vector<double> each;
        for (int i = 0; i < 41; ++i) {
            const Clock::time_point start = Clock::now();
            for (int j = 0; j < batch; ++j)
                velmora::brakeWait(velmora::Brake{count}.wait());
            each.push_back(seconds(Clock::now() - start) / batch);
        }
        std::nth_element(each.begin(), each.begin() + 20, each.end());
        std::printf("brakeWait(%u): median %.3g s, %+.2f %% against %u x 18 ns\n", count, each[20],
                    100 * (each[20] / (count * 18e-9) - 1), count);
    }

    Watcher watcher(window.winId());
    const struct {
        const char* where;
        int value;
    } positions[] = {{"left end", 0}, {"middle", 16383}, {"right end", 32767}};
    for (const auto& p : positions) {
        window.HScroll1->setValue(p.value == 0 ? 1 : 0);
        window.HScroll1->setValue(p.value);
        QTest::qWait(300); // what moving the scroll bar repainted settles
        watcher.take();

        const double cpuBefore = threadCpuSeconds();
        const Clock::time_point click = Clock::now();
        window.cmdStart->click();
        const Clock::time_point returned = Clock::now();
        const double cpu = threadCpuSeconds() - cpuBefore;
        QTest::qWait(500); // anything still on its way
        const std::vector<Change> changes = watcher.take();
        if (changes.empty())
            qFatal("No change of the plot reached the screen.");
        std::unordered_set<std::size_t> distinct;
        for (const Change& c : changes)
            distinct.insert(c.picture);
        std::printf("%-9s (value %5d, count %6s): click to last bar %.3f s, handler %.3f s, "
                    "CPU %.3f s, %zu changes seen, %zu distinct pictures\n",
                    p.where, p.value, qPrintable(window.nSpomaleni->text()),
                    seconds(changes.back().at - click), seconds(returned - click), cpu,
                    changes.size(), distinct.size());
    }
    return 0;
}
