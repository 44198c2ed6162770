// The receive cycle against whatever a peer sends. The input scripts a
// session on the fake line: bytes and whole replies fed in, the sizes of the
// reads that take them, ticks, Hold, screen clicks and floods. Beside the
// window runs an independent model of the acquisition rule on the flat byte
// stream: after each request it takes the first 128 bytes as the header,
// slides 1 to 3 bytes at a time to the marker, and calls the frame complete
// 8192 bytes after the accepted header. Every event checks the window
// against it and against the bounds of a tick.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "acquisition/AcquisitionCycle.h"
#include "acquisition/RequestData.h"
#include "support/FormFixture.h"

namespace velmora {
namespace {

using fuzz::Require;

// The fake line delivers at most one byte per millisecond, so no read lasts
// longer than an empty one.
constexpr int64_t kSlowestMicrosPerByte = 1000;
constexpr int64_t kLongestReadMicros = kEmptyReadMicros;
constexpr int64_t kDrainBoundMicros = kDrainBudgetMicros + kLongestReadMicros;
constexpr int64_t kPhaseBoundMicros = kReceivePhaseCapMicros + kLongestReadMicros;
// A phase that starts awaiting the header reads at most a frame's worth of
// bytes and the rest of a header block before giving up, or finds the marker
// and then at most the 8192 sample bytes.
constexpr std::size_t kPhaseByteBound = kHeaderSearchBytes + kBlockBytes + kSampleBytes;
constexpr int kMaxEvents = 40;

bool MarkerAt(const std::vector<uint8_t>& s, std::size_t at) {
    return std::equal(kFrameMarker.begin(), kFrameMarker.end(),
                      s.begin() + static_cast<std::ptrdiff_t>(at));
}

// The acquisition rule restated on the bytes received since the last request.
struct StreamModel {
    std::vector<uint8_t> stream;
    std::size_t headerAt = 0;  // where the header window stands
    bool headerFound = false;
    bool counted = false;   // the frame of this stream has been reported
    bool draining = false;  // a request is on its way: its drain drops what it reads
    bool pending = false;
    uint32_t ticks = 0, deadline = 0;
    uint32_t frames = 0;

    void Append(const uint8_t* bytes, std::size_t n) {
        stream.insert(stream.end(), bytes, bytes + n);
        // A full window is looked at: the marker at 0 is the header; at 1 or 2
        // the window slides there; otherwise it slides by 3.
        while (!headerFound && headerAt + kHeaderBytes <= stream.size()) {
            if (MarkerAt(stream, headerAt)) {
                headerFound = true;
            } else {
                headerAt += MarkerAt(stream, headerAt + 1)   ? 1
                            : MarkerAt(stream, headerAt + 2) ? 2
                                                             : 3;
            }
        }
    }
    bool Complete() const { return headerFound && stream.size() >= headerAt + kFrameBytes; }
    void Requested() {
        stream.clear();
        headerAt = 0;
        headerFound = false;
        counted = false;
        draining = false;
        pending = true;
        deadline = ticks + 500 / 200;
    }
};

bool IsRequest(const std::vector<uint8_t>& bytes) {
    return bytes.size() == sizeof kDataRequest &&
           std::memcmp(bytes.data(), kDataRequest, sizeof kDataRequest) == 0;
}

// A reply as an instrument (or a broken one) sends it; each one differs.
std::vector<uint8_t> Reply(uint32_t serial, std::size_t stray, bool damaged, std::size_t length) {
    std::vector<uint8_t> bytes(stray, static_cast<uint8_t>(0x20 + serial % 64));
    std::vector<uint8_t> frame(kFrameBytes);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint8_t>((i * 7 + serial * 31) ^ (i >> 8));
    }
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), frame.begin());
    if (damaged) frame[2] = 0x00;
    frame.resize(std::min(length, frame.size()));
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    return bytes;
}

class Session {
  public:
    explicit Session(FuzzedDataProvider& in) : in_(in) {
        line_ = fx_.ports.AddPort("ttyACM0", "/dev/ttyACM0");
        line_->microsPerByte =
            in_.PickValueInArray<int64_t>({1, 10, 87, 260, 400, kSlowestMicrosPerByte});
        answer_ = in_.ConsumeIntegralInRange<int>(0, 3);
        answerStray_ = in_.ConsumeIntegralInRange<std::size_t>(0, 300);
        answerLength_ = in_.ConsumeIntegralInRange<std::size_t>(kFrameBytes - 200, kFrameBytes);
        line_->onWrite = [this](const std::vector<uint8_t>& bytes) { Written(bytes); };
        line_->onRead = [this](const uint8_t* dst, std::size_t asked, std::size_t got) {
            Read(dst, asked, got);
        };
    }

    void Run() {
        TForm2& form = fx_.Form();
        // Start-up asks for a frame as it opens the port and once more after
        // its settings; the second request's drain drops the first answer.
        model_.draining = true;
        startUpRequests_ = 2;
        form.FormCreate();
        Require(requests_ == 2, "start-up sends two data requests");
        startUpRequests_ = 0;
        form.SweepSpeed.SetItemIndex(in_.ConsumeBool() ? 0 : 1);
        form.Fft1CheckBox.SetChecked(in_.ConsumeBool());
        form.Fft2CheckBox.SetChecked(in_.ConsumeBool());
        for (int event = 0; event < kMaxEvents && in_.remaining_bytes() > 0; ++event) Event();
    }

  private:
    const ReceiveState& Rx() { return fx_.Form().Receive(); }

    void Event() {
        TForm2& form = fx_.Form();
        const int op = in_.ConsumeIntegralInRange<int>(0, 6);
        switch (op) {
            case 0:
                line_->Feed(
                    in_.ConsumeBytes<uint8_t>(in_.ConsumeIntegralInRange<std::size_t>(0, 600)));
                break;
            case 1:
                line_->Feed(Reply(++serial_, in_.ConsumeIntegralInRange<std::size_t>(0, 260), false,
                                  kFrameBytes));
                break;
            case 2:
                for (int n = in_.ConsumeIntegralInRange<int>(1, 24); n > 0; --n) {
                    line_->readSizes.push_back(in_.ConsumeIntegralInRange<std::size_t>(0, 130));
                }
                break;
            case 3:
                Tick();
                break;
            case 4:
                form.HoldBox.SetChecked(!form.HoldBox.Checked());
                break;
            case 5:
                Click();
                break;
            case 6:
                line_->flood = !line_->flood && line_->microsPerByte >= 87;
                line_->floodByte = in_.ConsumeIntegral<uint8_t>();
                break;
        }
        CheckState();
    }

    void Tick() {
        TForm2& form = fx_.Form();
        ++model_.ticks;
        const bool waiting = model_.pending && model_.ticks < model_.deadline;
        const bool request = !waiting && !form.HoldBox.Checked();
        model_.draining = request;
        const int requestsBefore = requests_;
        const uint32_t framesBefore = Rx().framesReceived;
        phaseBytes_ = 0;
        const int64_t start = fx_.clock.NowMicros();
        form.Timer1Timer();
        const int64_t spent = fx_.clock.NowMicros() - start;
        Require(requests_ - requestsBefore == (request ? 1 : 0),
                "a tick requests exactly when none is outstanding or the last is overdue");
        Require(spent <= (request ? kDrainBoundMicros : 0) + kPhaseBoundMicros,
                "a tick ends within its time bound");
        Require(phaseBytes_ <= kPhaseByteBound, "a receive phase reads within its byte bound");
        FrameCheck(framesBefore);
    }

    void Click() {
        model_.draining = true;
        const int requestsBefore = requests_;
        const uint32_t framesBefore = Rx().framesReceived;
        const int64_t start = fx_.clock.NowMicros();
        fx_.Form().ScreenClick();
        Require(fx_.clock.NowMicros() - start <= kDrainBoundMicros, "a click's drain is bounded");
        Require(requests_ == requestsBefore + 1, "a screen click requests a frame");
        Require(Rx().framesReceived == framesBefore, "a click receives nothing");
    }

    // The frame the window reports complete is the model's, byte for byte.
    void FrameCheck(uint32_t framesBefore) {
        const bool completed = Rx().framesReceived != framesBefore;
        Require(Rx().framesReceived - framesBefore <= 1, "at most one frame a tick");
        Require(completed == (model_.Complete() && !model_.counted),
                "a frame completes exactly when the model's does");
        if (!completed) return;
        const std::size_t at = model_.headerAt;
        const SampleFrame& frame = Rx().frame;
        Require(std::equal(frame.header.begin(), frame.header.end(),
                           model_.stream.begin() + static_cast<std::ptrdiff_t>(at)),
                "the header is the accepted one");
        Require(std::equal(frame.samples.begin(), frame.samples.end(),
                           model_.stream.begin() + static_cast<std::ptrdiff_t>(at + kHeaderBytes)),
                "the samples are the 8192 bytes after the accepted header");
        model_.pending = false;
        model_.counted = true;
        ++model_.frames;
    }

    void CheckState() {
        const ReceiveState& rx = Rx();
        Require(rx.rxCount >= 0 && rx.rxCount <= static_cast<int32_t>(kBlockBytes),
                "RxCount stays within 0..128");
        Require(rx.requestPending == model_.pending, "RequestPending follows the rule");
        Require(rx.timerTicks == model_.ticks && rx.replyDeadline == model_.deadline,
                "ticks and deadline follow the rule");
        Require(rx.framesReceived == model_.frames, "frames counted as the model counts them");
    }

    void Written(const std::vector<uint8_t>& bytes) {
        if (!IsRequest(bytes)) return;
        ++requests_;
        Require(model_.draining, "a data request only where the rule sends one");
        model_.Requested();
        model_.draining = requests_ < startUpRequests_;
        if (answer_ == 0) return;
        // 1: whole frames; 2: behind stray bytes; 3: in turn damaged, short, whole.
        const std::size_t stray = answer_ >= 2 ? answerStray_ : 0;
        ++serial_;
        const bool damaged = answer_ == 3 && serial_ % 3 == 0;
        const bool shortened = answer_ == 3 && serial_ % 3 == 1;
        line_->Feed(Reply(serial_, stray, damaged, shortened ? answerLength_ : kFrameBytes));
    }

    // Every read asks for the rest of the current block, exactly there.
    void Read(const uint8_t* dst, std::size_t asked, std::size_t got) {
        const ReceiveState& rx = Rx();
        Require(rx.rxBlock >= kHeaderBlock && rx.rxBlock < kSampleBlocks,
                "reads go to the header or a sample block");
        Require(rx.rxCount >= 0 && rx.rxCount < static_cast<int32_t>(kBlockBytes),
                "a read starts inside its block");
        const uint8_t* block =
            rx.rxBlock == kHeaderBlock
                ? rx.frame.header.data()
                : rx.frame.samples.data() + static_cast<std::size_t>(rx.rxBlock) * kBlockBytes;
        Require(dst == block + rx.rxCount, "a read lands at RxCount in the current block");
        Require(asked == kBlockBytes - static_cast<std::size_t>(rx.rxCount),
                "a read asks for exactly the rest of its block");
        Require(got <= asked, "a read delivers no more than asked");
        if (model_.draining) return;
        Require(got == 0 || !model_.Complete(), "nothing is read past a complete frame");
        model_.Append(dst, got);
        phaseBytes_ += got;
    }

    FuzzedDataProvider& in_;
    test::FormFixture fx_;
    std::shared_ptr<test::FakeLine> line_;
    StreamModel model_;
    int answer_ = 0;
    std::size_t answerStray_ = 0, answerLength_ = kFrameBytes;
    uint32_t serial_ = 0;
    int requests_ = 0;
    int startUpRequests_ = 0;  // the requests start-up sends, while it runs
    std::size_t phaseBytes_ = 0;
};

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    velmora::Session session(in);
    session.Run();
    return 0;
}
