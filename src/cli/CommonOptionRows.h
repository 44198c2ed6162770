#pragma once

#include "cli/OptionTable.h"
#include "generator/SendGeneratorCommand.h"

namespace velmora {

// The limit of a peak amplitude as a user writes it: the generator's
// single-precision limit lies just below 3.3, and "3.3" on a command line
// must be taken.
inline constexpr double kMaxAmplitudeVolts = 3.3;
static_assert(static_cast<float>(kMaxAmplitudeVolts) == kMaxAmplitude);

inline constexpr double kMaxSampleRateHz = 1e12;

// The rows every command-line program has, for an options struct with the
// members port, settingsPath, sampleRate, quiet, listPorts, help, version.
template <class Options>
constexpr OptionRow<Options> PortRow() {
    return {.name = "--port",
            .kind = OptionKind::Text,
            .set = [](Options& o, const OptionValue& v) { o.port = v.text; },
            .help =
                "  --port PORT          a name from --list-ports (ttyACM0, ttyVIRT0, COM5) or a\n"
                "                       path (/dev/ttyACM0, \\\\.\\COM5)\n"};
}

template <class Options>
constexpr OptionRow<Options> SettingsRow() {
    return {
        .name = "--settings",
        .kind = OptionKind::Text,
        .set = [](Options& o, const OptionValue& v) { o.settingsPath = v.text; },
        .help = "  --settings FILE      start from a Config.Ini the window wrote (read only)\n"};
}

template <class Options>
constexpr OptionRow<Options> SampleRateRow() {
    return {.name = "--sample-rate",
            .kind = OptionKind::Number,
            .set = [](Options& o, const OptionValue& v) { o.sampleRate = v.number; },
            .ranges = {{{0, kMaxSampleRateHz, true}}},
            .help = "  --sample-rate HZ     the instrument's sample rate (default 102400)\n"};
}

template <class Options>
constexpr OptionRow<Options> QuietRow() {
    return {.name = "--quiet",
            .set = [](Options& o, const OptionValue&) { o.quiet = true; },
            .help = "  --quiet              no progress on standard error\n",
            .alias = "-q"};
}

template <class Options>
constexpr OptionRow<Options> ListPortsRow() {
    return {.name = "--list-ports",
            .set = [](Options& o, const OptionValue&) { o.listPorts = true; },
            .help = "  --list-ports         print the ports as the window lists them: NAME PATH\n"};
}

template <class Options>
constexpr OptionRow<Options> HelpRow() {
    return {.name = "--help",
            .set = [](Options& o, const OptionValue&) { o.help = true; },
            .alias = "-h"};
}

template <class Options>
constexpr OptionRow<Options> VersionRow() {
    return {.name = "--version", .set = [](Options& o, const OptionValue&) { o.version = true; }};
}

}  // namespace velmora
