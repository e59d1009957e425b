// A WAV file in any codec reaches the wave converter: loading must accept any
// bytes, and a loaded image goes on through the suggestion and the codecs.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/formats/AcmCodecs.h"
#include "audio/formats/WaveConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    TAuMemoryStream file(std::vector<std::uint8_t>(data, data + size));
    TWaveConverter converter;
    if (converter.LoadFromStream(file) != 0) return 0;
    converter.NewFormat()[0] = 1;
    if (AcmFormatSuggest(converter.CurrentFormat().data(), converter.NewFormat().data(),
                         TWaveConverter::FormatBufferSize, kAcmFormatSuggestTag) != 0)
        return 0;
    if (converter.Convert() != 0) return 0;
    TAuMemoryStream image;
    converter.SaveWavToStream(image);
    return 0;
}
