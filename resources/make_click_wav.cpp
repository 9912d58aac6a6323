// Writes the click sound: a 16-bit stereo WAV of 256 frames (1 KB of sound data) at 22050 Hz,
// a short noise tick over a fast-decaying 2.2 kHz tone. Usage: make_click_wav OUTPUT
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint32_t kRate = 22050;
constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBits = 16;
constexpr std::uint32_t kFrames = 256;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xffff));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    constexpr std::uint32_t dataSize = kFrames * kChannels * (kBits / 8);
    std::vector<std::uint8_t> wav;
    PutTag(wav, "RIFF");
    Put32(wav, 36 + dataSize);
    PutTag(wav, "WAVE");
    PutTag(wav, "fmt ");
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, kChannels);
    Put32(wav, kRate);
    Put32(wav, kRate * kChannels * (kBits / 8));
    Put16(wav, kChannels * (kBits / 8));
    Put16(wav, kBits);
    PutTag(wav, "data");
    Put32(wav, dataSize);

    std::uint32_t noise = 0x2545f491u;  // fixed seed: the same file on every build
    const double pi = std::acos(-1.0);
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
        const double tone = std::sin(2 * pi * 2200.0 * t) * std::exp(-t * 900.0);
        const double tick = white * std::exp(-t * 2500.0);
        const double fadeOut = i + 16 >= kFrames ? (kFrames - i) / 16.0 : 1.0;
        const double left = (0.55 * tone + 0.45 * tick) * fadeOut;
        const double right = (0.55 * tone - 0.35 * tick) * fadeOut;  // a little width
        for (const double sample : {left, right}) {
            const auto value = static_cast<std::int16_t>(std::lround(sample * 20000.0));
            Put16(wav, static_cast<std::uint16_t>(value));
        }
    }

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(wav.data(), 1, wav.size(), file) == wav.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
