// A long run of the window's core (termios port, 200 ms ticks) against a
// misbehaving virtual instrument on a pseudo-terminal, with the process's
// memory and descriptors watched. The instrument's behaviour changes every
// phase (each phase plugs in a fresh instrument with other faults, or unplugs
// it), while a simulated user moves the sync bars, switches the generators and
// picks the port again. Anything that grows without bound shows in the
// figures printed at the end.
//
//   SoakBench [--minutes N | --seconds N] [--phase-seconds N]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>

#include "ProcessProbe.h"
#include "integration/InstrumentSession.h"

namespace velmora {
namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::seconds;

struct SoakOptions {
    int64_t seconds = 600;
    int64_t phaseSeconds = 20;
};

bool ParseArgs(int argc, char** argv, SoakOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const int64_t value = std::strtoll(argv[i + 1], nullptr, 10);
        if (value <= 0) return false;
        if (std::strcmp(argv[i], "--minutes") == 0) {
            options.seconds = value * 60;
        } else if (std::strcmp(argv[i], "--seconds") == 0) {
            options.seconds = value;
        } else if (std::strcmp(argv[i], "--phase-seconds") == 0) {
            options.phaseSeconds = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

struct Phase {
    const char* name;
    InstrumentOptions options;
    bool unplugged = false;
};

constexpr int kPhaseCount = 9;

std::array<Phase, kPhaseCount> Phases() {
    std::array<Phase, kPhaseCount> phases{};
    phases[0].name = "clean";
    phases[1].name = "115200 baud";
    phases[1].options.baudPacing = true;
    phases[2].name = "stray bytes";
    phases[2].options.stray = 700;
    phases[3].name = "damaged marker";
    phases[3].options.damageMarker = true;
    phases[4].name = "short frame";
    phases[4].options.shortFrame = 5000;
    phases[5].name = "silence";
    phases[5].options.silent = true;
    phases[6].name = "flood";
    phases[6].options.flood = true;
    phases[7].name = "late answer";
    phases[7].options.lateMs = 300;
    phases[8].name = "unplugged";
    phases[8].unplugged = true;
    return phases;
}

struct Extremes {
    bench::ProcessSample start, max, end;
    int64_t longestTickUs = 0;
    int64_t longestActionUs = 0;
};

void Widen(bench::ProcessSample& max, const bench::ProcessSample& now) {
    max.residentKiB = std::max(max.residentKiB, now.residentKiB);
    max.descriptors = std::max(max.descriptors, now.descriptors);
}

class Soak {
  public:
    explicit Soak(const SoakOptions& options)
        : options_(options), session_(InstrumentOptions{}), form_(session_.Form()) {}

    int Run();

  private:
    template <typename F>
    int64_t Timed(F&& event) {
        const auto start = Steady::now();
        form_.Dispatch(event);
        return duration_cast<microseconds>(Steady::now() - start).count();
    }
    void StartPhase(int index);
    void EndPhase();
    void Tick();
    void UserActs(uint64_t tick);
    void PickPort();
    void Sample(Steady::time_point now);
    void Print(const char* label, const bench::ProcessSample& sample) const;
    void PrintSummary();

    SoakOptions options_;
    test::InstrumentSession session_;
    TForm2& form_;
    std::array<Phase, kPhaseCount> phases_ = Phases();
    std::mt19937 random_{12345};
    Steady::time_point begin_;
    int phase_ = -1;
    uint64_t phaseTicks_ = 0;
    uint32_t phaseFrames_ = 0;
    int64_t phaseLongestTickUs_ = 0;
    uint64_t ticks_ = 0;
    uint64_t restartFailures_ = 0;
    int samples_ = 0;
    int64_t lastMinute_ = 0;
    Extremes extremes_;
};

void Soak::StartPhase(int index) {
    phase_ = index;
    phaseTicks_ = 0;
    phaseFrames_ = form_.Receive().framesReceived;
    phaseLongestTickUs_ = 0;
    const Phase& phase = phases_[static_cast<std::size_t>(index)];
    if (phase.unplugged) {
        session_.StopInstrument();
    } else if (!session_.StartInstrument(phase.options)) {
        ++restartFailures_;
        std::printf("phase %s: the instrument did not start: %s\n", phase.name,
                    session_.Error().c_str());
    }
}

void Soak::EndPhase() {
    if (phase_ < 0) return;
    std::printf("phase %-15s ticks %5llu  frames %5u  longest tick %7.1f ms\n",
                phases_[static_cast<std::size_t>(phase_)].name,
                static_cast<unsigned long long>(phaseTicks_),
                form_.Receive().framesReceived - phaseFrames_, phaseLongestTickUs_ / 1000.0);
    std::fflush(stdout);
}

void Soak::Tick() {
    const int64_t us = Timed([this] { form_.Timer1Timer(); });
    phaseLongestTickUs_ = std::max(phaseLongestTickUs_, us);
    extremes_.longestTickUs = std::max(extremes_.longestTickUs, us);
    ++ticks_;
    UserActs(phaseTicks_++);
}

// The user picks the instrument's entry after a fresh look at the ports, as
// someone does after plugging it in again; with no port listed there is
// nothing to click.
void Soak::PickPort() {
    form_.RefreshCommClick();
    if (form_.ComPort.Count() > 0) form_.ComPort.UserSelect(form_.ComPort.Count() - 1);
}

// A drag moves the bar through every position on the way, and each position
// sends its sync command (and adds a line to the log).
void Drag(ScrollBar& bar, int step) {
    const int target = std::clamp(bar.Position() + step, bar.Min(), bar.Max());
    while (bar.Position() != target) bar.SetPosition(bar.Position() + (step > 0 ? 1 : -1));
}

// A second into each phase the user picks the port again; otherwise every
// few ticks one control is moved.
void Soak::UserActs(uint64_t tick) {
    int64_t us = 0;
    if (tick == 5 || tick % 97 == 50) {
        us = Timed([this] { PickPort(); });
    } else if (tick % 7 == 3) {
        const int step = std::uniform_int_distribution<int>(-40, 40)(random_);
        us = Timed([this, step] { Drag(form_.SyncVoltBar, step); });
    } else if (tick % 9 == 4) {
        const int position = std::uniform_int_distribution<int>(0, 2048)(random_);
        us = Timed([this, position] { form_.SyncPosBar.SetPosition(position); });
    } else if (tick % 11 == 5) {
        const int wave = std::uniform_int_distribution<int>(0, 8)(random_);
        us = Timed([this, wave] {
            form_.Waveform1.UserSelect(wave);
            form_.EnableA.UserClick();
        });
    } else if (tick % 13 == 6) {
        us = Timed([this] { form_.EnableB.UserClick(); });
    }
    extremes_.longestActionUs = std::max(extremes_.longestActionUs, us);
}

void Soak::Print(const char* label, const bench::ProcessSample& sample) const {
    std::printf("%-6s resident %lld KiB, descriptors %d\n", label,
                static_cast<long long>(sample.residentKiB), sample.descriptors);
}

void Soak::Sample(Steady::time_point now) {
    const bench::ProcessSample sample = bench::SampleProcess();
    if (samples_++ == 0) extremes_.start = extremes_.max = sample;
    Widen(extremes_.max, sample);
    extremes_.end = sample;
    const int64_t minute = duration_cast<std::chrono::minutes>(now - begin_).count();
    if (samples_ > 1 && minute == lastMinute_) return;
    lastMinute_ = minute;
    std::printf(
        "at %5llds: ticks %llu, frames %u, longest tick %.1f ms, resident %lld KiB, "
        "descriptors %d, log lines %zu\n",
        static_cast<long long>(duration_cast<seconds>(now - begin_).count()),
        static_cast<unsigned long long>(ticks_), form_.Receive().framesReceived,
        extremes_.longestTickUs / 1000.0, static_cast<long long>(sample.residentKiB),
        sample.descriptors, form_.Display.Lines().size());
    std::fflush(stdout);
}

void Soak::PrintSummary() {
    const double minutes = std::chrono::duration<double>(Steady::now() - begin_).count() / 60.0;
    std::printf(
        "soak over %.1f min: frames drawn %u, ticks %llu, longest tick %.1f ms, "
        "longest user action %.1f ms, errors shown %zu, failed restarts %llu\n",
        minutes, form_.Receive().framesReceived, static_cast<unsigned long long>(ticks_),
        extremes_.longestTickUs / 1000.0, extremes_.longestActionUs / 1000.0,
        session_.Errors().messages.size(), static_cast<unsigned long long>(restartFailures_));
    Print("start", extremes_.start);
    Print("end", extremes_.end);
    Print("max", extremes_.max);
    std::fflush(stdout);
}

int Soak::Run() {
    if (!session_.Started()) {
        std::fprintf(stderr, "the instrument did not start: %s\n", session_.Error().c_str());
        return 1;
    }
    form_.Dispatch([this] { form_.FormCreate(); });
    begin_ = Steady::now();
    const auto end = begin_ + seconds(options_.seconds);
    auto due = begin_;
    auto nextSample = begin_;
    auto phaseEnd = begin_;
    for (auto now = begin_; now < end; now = Steady::now()) {
        if (now >= nextSample) {
            Sample(now);
            // A tick that took longer than a second is not made up for by a burst of samples.
            nextSample = std::max(nextSample + seconds(1), now);
        }
        if (now >= phaseEnd) {
            EndPhase();
            StartPhase((phase_ + 1) % kPhaseCount);
            phaseEnd = now + seconds(options_.phaseSeconds);
        }
        std::this_thread::sleep_until(due);
        Tick();
        // A tick that overran is followed at once by the next, like a timer that does not queue.
        due = std::max(due + milliseconds(form_.Timer1.Interval()), Steady::now());
    }
    EndPhase();
    Sample(Steady::now());
    PrintSummary();
    return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    velmora::SoakOptions options;
    if (!velmora::ParseArgs(argc, argv, options)) {
        std::fprintf(stderr, "usage: SoakBench [--minutes N | --seconds N] [--phase-seconds N]\n");
        return 2;
    }
    velmora::Soak soak(options);
    return soak.Run();
}
