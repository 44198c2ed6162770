#include "generator/SendGeneratorCommand.h"

#include "acquisition/RequestData.h"
#include "generator/ParseFloatText.h"
#include "link/CommandSender.h"

namespace velmora {

void SendGeneratorCommand(const GeneratorChannel& channel, SerialLink& link, ReceiveState& rx,
                          Clock& clock, Memo& display) {
    if (SendGeneratorSetting(channel, link, display)) RequestData(link, rx, clock);
}

bool SendGeneratorSetting(const GeneratorChannel& channel, SerialLink& link, Memo& display) {
    if (!channel.enable.Checked()) return false;
    const int waveform = channel.waveform.ItemIndex();  // -1 gives '/'

    float frequency = RoundToSingle(ParseFloatText(channel.frequency.Text()));
    if (kMinFrequency > frequency) frequency = kMinFrequency;
    // The amplitude box is read only once the frequency text has proved a number.
    const double amplitudeText = ParseFloatText(channel.amplitude.Text());
    if (frequency > kMaxFrequency) frequency = kMaxFrequency;

    float amplitude = RoundToSingle(amplitudeText);
    if (0.0f > amplitude) amplitude = 0.0f;
    if (amplitude > kMaxAmplitude) amplitude = kMaxAmplitude;

    SendCommand(link, display, channel.format, static_cast<char>('0' + waveform),
                static_cast<double>(frequency), static_cast<double>(amplitude));
    return true;
}

}  // namespace velmora
