#include "spectrum/Spectrum.h"

#include "spectrum/SpectrumKernel.h"

namespace velmora {

void ComputeSpectrum(const SampleFrame& frame, int channel, SpectrumBuffer& buffer) {
    SpectrumKernel::Run(frame, channel, buffer);
}

}  // namespace velmora
