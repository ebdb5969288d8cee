#include <vector>

#include "input/AiffReader.h"
#include "input/AudioSource.h"
#include "input/PcmReader.h"
#include "input/WavReader.h"

// Tried in this order; the first row whose probe recognises the first bytes
// and whose open succeeds reads the file, whatever its extension says.
const InputFormat InputFormatTable[] = {
    {ProbeWav, kWavProbeLength, OpenWav, ReleasePcmState, "wav", "WAV file reader"},
    {ProbeAiff, kAiffProbeLength, OpenAiff, ReleasePcmState, "aiff", "AIFF/AIFC file reader"},
    {nullptr, 0, nullptr, nullptr, nullptr, nullptr},
};

const InputFormat* ProbeInputFormats(std::FILE* file, AudioSource& source) {
    // Bytes read for one probe are never put back: every later probe sees the
    // same bytes, and each open continues from where the file stands.
    std::vector<uint8_t> probe;
    std::size_t filled = 0;
    for (const InputFormat* row = InputFormatTable; row->Probe; ++row) {
        if (row->ProbeLength > probe.size()) probe.resize(row->ProbeLength);
        if (row->ProbeLength > filled) filled += std::fread(probe.data() + filled, 1, probe.size() - filled, file);
        if (filled < row->ProbeLength) continue;
        if (row->Probe(probe.data(), filled) && row->Open(file, source, probe.data(), filled)) return row;
    }
    return nullptr;
}
