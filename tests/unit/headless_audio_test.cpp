#include "platform/headless/headless_audio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::HeadlessAudio;
using platform::SoundBytes;

SoundBytes sound_file(const char* tag, size_t size) {
    std::vector<uint8_t> bytes(size, 0);
    std::copy(tag, tag + 4, bytes.begin());
    return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

// A long headless run makes millions of device calls: the log keeps the newest of them in
// order, and the device forgets streams that nothing can ask about any more.
TEST(HeadlessAudio, ALongRunKeepsTheNewestCallsAndTheStreamsInUse) {
    uint32_t now = 0;
    HeadlessAudio audio([&] { return now; });
    ASSERT_TRUE(audio.init());
    audio.set_stream_length_ms(1000);
    const int effect = audio.open_stream(sound_file("RIFF", 44));
    audio.play(1, effect);
    int music = 0;
    for (int i = 0; i < 200000; ++i) {
        music = audio.open_stream(sound_file("OggS", 100 + static_cast<size_t>(i % 7)));
        audio.play(0, music);
        audio.set_volume(0, i % 256);
    }
    const auto& log = audio.log();
    EXPECT_LE(log.size(), 2 * HeadlessAudio::kLogKept);
    ASSERT_GE(log.size(), HeadlessAudio::kLogKept);
    const int last = 199999;
    EXPECT_EQ(log[log.size() - 1], "volume 0 " + std::to_string(last % 256));
    EXPECT_EQ(log[log.size() - 2], "play 0 " + std::to_string(music));
    EXPECT_EQ(log[log.size() - 3], "open " + std::to_string(100 + last % 7));
    EXPECT_EQ(log[log.size() - 4], "volume 0 " + std::to_string((last - 1) % 256));

    EXPECT_LE(audio.streams_held(), HeadlessAudio::kStreamsKept + 2);
    EXPECT_EQ(audio.stream_size(music), 100u + last % 7);
    EXPECT_EQ(audio.stream_size(effect), 44u) << "still held by its channel";
    now = 999;
    EXPECT_TRUE(audio.is_playing(1));
    now = 1000;
    EXPECT_FALSE(audio.is_playing(1));
    EXPECT_FALSE(audio.is_playing(0)) << "started at 0, the same length";

    audio.clear_log();
    audio.stop(HeadlessAudio::kAllChannels);
    EXPECT_EQ(audio.log(), std::vector<std::string>{"stop -3"});
}

}  // namespace
