#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen/music.h"
#include "assetgen/music_score.h"
#include "sound/sound.h"
#include "support/fixture_pack.h"

// The decoder is compiled here, once, so that the tests check the files with a decoder
// other than the encoder's own library.
#include <stb/stb_vorbis.h>

namespace {

namespace music = assetgen::music;

struct Decoded {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> pcm;  // interleaved
    size_t frames() const { return channels > 0 ? pcm.size() / static_cast<size_t>(channels) : 0; }
    double seconds() const { return static_cast<double>(frames()) / rate; }
};

Decoded decode(const std::vector<uint8_t>& ogg) {
    Decoded d;
    short* out = nullptr;
    const int frames = stb_vorbis_decode_memory(ogg.data(), static_cast<int>(ogg.size()),
                                                &d.channels, &d.rate, &out);
    if (frames > 0) d.pcm.assign(out, out + static_cast<size_t>(frames) * d.channels);
    std::free(out);
    return d;
}

int peak(const int16_t* begin, const int16_t* end) {
    int p = 0;
    for (const int16_t* s = begin; s != end; ++s) p = std::max(p, std::abs(static_cast<int>(*s)));
    return p;
}

// The six tracks as the build's generator wrote them into its data pack, so the suite checks
// what ships without composing every track again; one track is composed here and compared.
class MusicTracks : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (int t = 0; t < assetgen::kTrackCount; ++t) {
            const std::string text = fixture::file_text(
                std::filesystem::path(VASUL_DATA_DIR) / sound::kMusicFiles[static_cast<size_t>(t)]);
            files[t].assign(text.begin(), text.end());
            decoded[t] = decode(files[t]);
        }
    }
    void SetUp() override {
        for (int t = 0; t < assetgen::kTrackCount; ++t)
            ASSERT_FALSE(files[t].empty()) << "no track " << t << " in " << VASUL_DATA_DIR;
    }
    static inline std::array<std::vector<uint8_t>, assetgen::kTrackCount> files;
    static inline std::array<Decoded, assetgen::kTrackCount> decoded;
};

TEST_F(MusicTracks, EachDecodesToStereoAt44100OfFortyToNinetySeconds) {
    for (int t = 0; t < assetgen::kTrackCount; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const Decoded& d = decoded[t];
        EXPECT_EQ(d.channels, 2);
        EXPECT_EQ(d.rate, 44100);
        EXPECT_GE(d.seconds(), 40.0);
        EXPECT_LE(d.seconds(), 90.0);
    }
}

TEST_F(MusicTracks, AreAudibleWithoutClippingAndEndInSilence) {
    for (int t = 0; t < assetgen::kTrackCount; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const Decoded& d = decoded[t];
        ASSERT_GT(d.frames(), 44100u);
        const int16_t* begin = d.pcm.data();
        const int16_t* end = begin + d.pcm.size();
        const int whole = peak(begin, end);
        EXPECT_GT(whole, 8000) << "too quiet";
        EXPECT_LT(whole, 32767) << "clipped";
        // The game restarts the track when it ends, so the last 20 ms must have faded out
        // or the loop would click.
        EXPECT_LT(peak(end - 2 * 882, end), 200);
        // Every second of the track carries sound: no silent holes from a broken arrangement.
        for (size_t s = 0; s + 44100 <= d.frames(); s += 44100) {
            const int16_t* from = begin + 2 * s;
            EXPECT_GT(peak(from, from + 2 * 44100), 1000) << "silent at second " << s / 44100;
        }
    }
}

TEST_F(MusicTracks, ArePairwiseDistinct) {
    for (int a = 0; a < assetgen::kTrackCount; ++a) {
        for (int b = a + 1; b < assetgen::kTrackCount; ++b) {
            // Compare the sound, not the bytes: the energy of the difference is about the sum
            // of the two energies for unrelated music and near zero for the same music.
            const size_t n = std::min(decoded[a].pcm.size(), decoded[b].pcm.size());
            double diff = 0, sum = 0;
            for (size_t i = 0; i < n; ++i) {
                const double x = decoded[a].pcm[i], y = decoded[b].pcm[i];
                diff += (x - y) * (x - y);
                sum += x * x + y * y;
            }
            EXPECT_GT(diff / sum, 0.5) << "tracks " << a << " and " << b;
        }
    }
}

// The game loops a track by starting it again when it ends, so each must last a whole number
// of bars, close on the key note and get faster from the title through the stages.
TEST_F(MusicTracks, LastWholeBarsAndCloseOnTheKeyNote) {
    int previous_bpm = 0;
    for (int t = 0; t < assetgen::kTrackCount; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const music::Style style = music::track_style(t);
        const music::Score score = music::compose(style);
        EXPECT_EQ(static_cast<int64_t>(decoded[t].frames()), score.frames());
        EXPECT_EQ(score.frames(), score.bars * score.bar_frames);
        EXPECT_GT(style.bpm, previous_bpm);
        previous_bpm = style.bpm;
        const int64_t last_bar = score.frames() - score.bar_frames;
        int closing = 0;
        for (const music::Note& n : score.notes) {
            if (n.start < last_bar) continue;
            if (n.part != music::Part::Lead && n.part != music::Part::Bass) continue;
            EXPECT_EQ((n.midi - style.tonic) % 12, 0) << "pitch " << n.midi;
            ++closing;
        }
        EXPECT_GE(closing, 2);
    }
}

TEST_F(MusicTracks, AreTheSameBytesOnEveryRun) {
    // Track 2 has every kind of voice: FM, plucked and wavetable, and swung drums. The pack's
    // copy was composed by another process.
    EXPECT_EQ(assetgen::compose_track_ogg(2), files[2]);
}

TEST(MusicTrackIndex, OutsideZeroToFiveIsRejected) {
    EXPECT_THROW(assetgen::compose_track_ogg(-1), std::out_of_range);
    EXPECT_THROW(assetgen::compose_track_ogg(assetgen::kTrackCount), std::out_of_range);
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
bool tag(const std::vector<uint8_t>& b, size_t at, const char* t) {
    return std::memcmp(b.data() + at, t, 4) == 0;
}

TEST(SnapSound, IsAShortClickIn16BitPcmThatFadesOut) {
    const std::vector<uint8_t> wav = assetgen::make_snap_wav();
    ASSERT_GE(wav.size(), 44u);
    ASSERT_TRUE(tag(wav, 0, "RIFF"));
    EXPECT_EQ(u32(wav, 4), wav.size() - 8);
    ASSERT_TRUE(tag(wav, 8, "WAVE"));
    ASSERT_TRUE(tag(wav, 12, "fmt "));
    ASSERT_EQ(u32(wav, 16), 16u);
    const uint16_t channels = u16(wav, 22);
    EXPECT_EQ(u16(wav, 20), 1) << "PCM";
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_EQ(u32(wav, 24), 44100u);
    EXPECT_EQ(u32(wav, 28), 44100u * 2 * channels);
    EXPECT_EQ(u16(wav, 32), 2 * channels);
    EXPECT_EQ(u16(wav, 34), 16);
    ASSERT_TRUE(tag(wav, 36, "data"));
    const uint32_t bytes = u32(wav, 40);
    ASSERT_EQ(bytes, wav.size() - 44);
    const double seconds = bytes / (2.0 * channels * 44100);
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 0.3);

    std::vector<int16_t> pcm(bytes / 2);
    std::memcpy(pcm.data(), wav.data() + 44, bytes);
    const int16_t* begin = pcm.data();
    const int16_t* end = begin + pcm.size();
    const size_t ms = 44 * channels;
    EXPECT_GT(peak(begin, begin + 20 * ms), 10000) << "the click is at the start";
    EXPECT_LT(peak(begin, end), 32767) << "clipped";
    EXPECT_LT(peak(end - 5 * ms, end), 100) << "ends in silence";

    EXPECT_EQ(assetgen::make_snap_wav(), wav);
}

}  // namespace
