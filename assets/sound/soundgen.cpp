// Writes every sound effect as a WAV file, with a manifest listing them in
// object-number order for dat. Usage: soundgen OUTDIR.
#include "synth.h"

#include <cstdio>
#include <string>

#include "catalogue.h"

namespace {

void put16(FILE *f, unsigned v)
{
    std::fputc(v & 0xff, f);
    std::fputc((v >> 8) & 0xff, f);
}

void put32(FILE *f, unsigned long v)
{
    put16(f, v & 0xffff);
    put16(f, (v >> 16) & 0xffff);
}

// A canonical 16-bit mono PCM WAV, little-endian whatever the host.
bool write_wav(const std::string &path, const std::vector<int16_t> &samples)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    unsigned long bytes = samples.size() * 2;
    std::fputs("RIFF", f);
    put32(f, 36 + bytes);
    std::fputs("WAVEfmt ", f);
    put32(f, 16);
    put16(f, 1);                 // PCM
    put16(f, 1);                 // mono
    put32(f, synth::RATE);
    put32(f, synth::RATE * 2);   // bytes per second
    put16(f, 2);                 // bytes per frame
    put16(f, 16);
    std::fputs("data", f);
    put32(f, bytes);
    for (int16_t s : samples)
        put16(f, static_cast<uint16_t>(s));
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    FILE *list = std::fopen((dir + "/sound.list").c_str(), "w");
    if (!list) {
        std::fprintf(stderr, "soundgen: cannot write to %s\n", dir.c_str());
        return 1;
    }
    for (int n = 0; n < SOUND_COUNT; n++) {
        char name[32];
        std::snprintf(name, sizeof name, "sound_%02d.wav", n);
        std::string path = dir + "/" + name;
        if (!write_wav(path, synth::effect(n))) {
            std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
            return 1;
        }
        std::fprintf(list, "SAMP %s\n", path.c_str());
    }
    return std::fclose(list) == 0 ? 0 : 1;
}
