// The settings reader against any file. A reference reader, written from the
// file's rules alone (90-byte line budget, control bytes, the number from the
// seventh character), says what each of the 18 lines is; the controls must
// then hold exactly those values, clamped where a bar clamps, and nothing the
// controls cannot hold. After start-up every list is settled into its
// entries; what follows the 18th line changes nothing; and a file written at
// close reads back into a file that is written the same again.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "settings/ConfigFile.h"
#include "support/FormFixture.h"

namespace velmora {
namespace {

using fuzz::Require;

bool IsText(uint8_t byte) { return byte >= 0x20 && byte <= 0x7F; }

// One line as the rules read it from `at`; nothing when the file ends before
// the line's first text character.
std::optional<std::string> ReferenceLine(const std::string& file, std::size_t& at) {
    int budget = 89;
    std::string text;
    for (int controls = 1;; ++controls) {
        if (at == file.size()) return std::nullopt;
        const auto byte = static_cast<uint8_t>(file[at++]);
        if (IsText(byte)) {
            text += static_cast<char>(byte);
            break;
        }
        --budget;
        if (controls == 90) return text;  // 90 control bytes: an empty line
    }
    while (budget > 0 && at < file.size()) {
        const auto byte = static_cast<uint8_t>(file[at++]);
        if (!IsText(byte)) break;
        text += static_cast<char>(byte);
        --budget;
    }
    return text;
}

int32_t ReferenceValue(const std::string& text) {
    std::size_t at = 6;
    while (at < text.size() && text[at] == ' ') ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + static_cast<uint32_t>(text[at] - '0');
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

struct ReferenceFile {
    std::vector<std::string> lines;  // at most 18
    std::size_t end = 0;             // where the 18th line ended
};

ReferenceFile ReadReference(const std::string& file) {
    ReferenceFile ref;
    std::size_t at = 0;
    while (ref.lines.size() < static_cast<std::size_t>(kConfigSettings)) {
        std::optional<std::string> line = ReferenceLine(file, at);
        if (!line) break;
        ref.lines.push_back(*line);
    }
    ref.end = at;
    return ref;
}

// The settings controls alone, with lists of the window's sizes.
struct Controls {
    ListBox lists[8];
    ScrollBar volt{-2000, 2000, 0}, pos{0, 2048, 1024};
    Window window;
    CheckBox scope1{true}, scope2{true}, fft1, fft2;
    SettingsPanel panel{lists[0], lists[1], lists[2], lists[3], lists[4],
                        lists[5], lists[6], lists[7], volt,     pos,
                        window,   scope1,   scope2,   fft1,     fft2};
    test::FakeSettingsStore store;
    Memo display;

    Controls() {
        window.SetGeometry(0, 277, 1511, 899);
        for (ListBox& list : lists) list.SetItemIndex(0);
        for (ScrollBar* bar : {&volt, &pos}) {
            bar->onChange = [bar] {
                Require(bar->Position() >= bar->Min() && bar->Position() <= bar->Max(),
                        "a bar only ever holds a position in its range");
            };
        }
    }
};

// Reads `file` into bare controls and checks every control against the reference.
void CheckApplied(const std::string& file, const ReferenceFile& ref) {
    Controls c;
    Controls start;
    c.store.files[kConfigFileName] = file;
    ReadConfig(c.store, c.panel, c.display);
    for (int slot = 0; slot < kConfigSettings; ++slot) {
        const bool read = static_cast<std::size_t>(slot) < ref.lines.size();
        const int32_t v = read ? ReferenceValue(ref.lines[static_cast<std::size_t>(slot)])
                               : start.panel.Value(slot);
        int32_t expected = v;
        if (slot >= 14) expected = v != 0;                              // check boxes
        if (slot == 8) expected = std::clamp<int32_t>(v, -2000, 2000);  // SyncVoltBar
        if (slot == 9) expected = std::clamp<int32_t>(v, 0, 2048);      // SyncPosBar
        Require(c.panel.Value(slot) == expected, "each setting holds its line's value");
    }
    const auto& log = c.display.Lines();
    Require(log.size() == ref.lines.size() + 2 && log.front() == "Reading config" &&
                log.back() == "End config",
            "the log frames the lines read");
    for (std::size_t i = 0; i < ref.lines.size(); ++i) {
        Require(log[i + 1] == ref.lines[i] + "!", "each line is logged as read");
    }
}

struct Run {
    std::string written;  // the file as the window wrote it at close
    std::vector<std::string> log;
    std::vector<std::vector<uint8_t>> portBytes;
};

// Starts a window on `file` with `ports` ports, checks the settled controls and closes it.
Run StartAndClose(const std::string& file, int ports) {
    test::FormFixture fx;
    std::vector<std::shared_ptr<test::FakeLine>> lines;
    for (int i = 0; i < ports; ++i) {
        const std::string name = "ttyACM" + std::to_string(i);
        lines.push_back(fx.ports.AddPort(name, "/dev/" + name));
    }
    fx.settings.files[kConfigFileName] = file;
    TForm2& form = fx.Form();
    form.FormCreate();
    for (ListBox* list : {&form.SweepSpeed, &form.SyncSrcBox, &form.SyncPolBox, &form.ComPort,
                          &form.Chan1Probe, &form.Scale1, &form.Chan2Probe, &form.Scale2}) {
        // The port list alone may choose nothing: a stored port that is not there.
        const bool none = list->Count() == 0 || list == &form.ComPort;
        const bool settled = (none && list->ItemIndex() == -1) ||
                             (list->ItemIndex() >= 0 && list->ItemIndex() < list->Count());
        Require(settled, "every list is settled into its entries after start-up");
    }
    for (const ScrollBar* bar : {&form.SyncVoltBar, &form.SyncPosBar}) {
        Require(bar->Position() >= bar->Min() && bar->Position() <= bar->Max(),
                "both bars hold a position in their range");
    }
    form.FormClose();
    Run run{fx.settings.files[kConfigFileName], form.Display.Lines(), {}};
    for (const auto& line : lines) run.portBytes.push_back(line->written);
    return run;
}

// A whole valid file, as a different tail after the 18th line.
std::string ValidFile() {
    std::string file;
    for (int slot = 0; slot < kConfigSettings; ++slot) {
        file += std::string("Key") + std::to_string(slot % 10) + "x " + std::to_string(slot + 1) +
                std::string(16, ' ') + "\r\n";
    }
    return file;
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace velmora;
    FuzzedDataProvider in(data, size);
    const int ports = in.ConsumeIntegralInRange<int>(0, 3);
    const std::string file = in.ConsumeRemainingBytesAsString();
    const ReferenceFile ref = ReadReference(file);
    CheckApplied(file, ref);

    const Run first = StartAndClose(file, ports);
    if (ref.lines.size() == static_cast<std::size_t>(kConfigSettings)) {
        // A last line that ran to the end of the file ends at the CR of the new tail.
        const std::string tail = ref.end < file.size() ? "" : "\r\n" + ValidFile();
        const Run other = StartAndClose(file.substr(0, ref.end) + tail, ports);
        Require(other.written == first.written && other.log == first.log &&
                    other.portBytes == first.portBytes,
                "nothing after the 18th line changes what start-up does");
    }
    const Run again = StartAndClose(first.written, ports);
    Require(again.written == first.written, "a written file reads back and writes the same");
    return 0;
}
