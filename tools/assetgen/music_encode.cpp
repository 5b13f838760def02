#include "assetgen/music_encode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {
namespace {

void append_page(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Owns the libvorbis and libogg state so that every exit path releases it.
struct VorbisEncoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};

    VorbisEncoder(float quality, int serial) {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, 2, kSampleRate, quality) != 0) {
            vorbis_info_clear(&info);
            throw std::runtime_error("vorbis encoder rejected the settings");
        }
        vorbis_comment_init(&comment);
        vorbis_comment_add_tag(&comment, "ENCODER", "vasul assetgen");
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, serial);
    }
    ~VorbisEncoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    void write_headers(std::vector<uint8_t>& out) {
        ogg_packet id, comments, codebooks;
        vorbis_analysis_headerout(&dsp, &comment, &id, &comments, &codebooks);
        ogg_stream_packetin(&stream, &id);
        ogg_stream_packetin(&stream, &comments);
        ogg_stream_packetin(&stream, &codebooks);
        // The audio must start on a fresh page, as the Ogg Vorbis mapping requires.
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0) append_page(out, page);
    }

    void drain(std::vector<uint8_t>& out) {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) append_page(out, page);
            }
        }
    }
};

}  // namespace

std::vector<uint8_t> encode_ogg_vorbis(const StereoBuffer& audio, float quality, int serial) {
    VorbisEncoder enc(quality, serial);
    std::vector<uint8_t> out;
    enc.write_headers(out);
    constexpr size_t kChunk = 4096;
    for (size_t at = 0; at < audio.frames(); at += kChunk) {
        const size_t n = std::min(kChunk, audio.frames() - at);
        float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
        std::copy_n(audio.left.begin() + static_cast<std::ptrdiff_t>(at), n, buffer[0]);
        std::copy_n(audio.right.begin() + static_cast<std::ptrdiff_t>(at), n, buffer[1]);
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
        enc.drain(out);
    }
    vorbis_analysis_wrote(&enc.dsp, 0);
    enc.drain(out);
    ogg_page page;
    while (ogg_stream_flush(&enc.stream, &page) != 0) append_page(out, page);
    return out;
}

namespace {

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put_u16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put_tag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> encode_wav_mono16(const std::vector<float>& samples) {
    const auto data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data_bytes);
    put_tag(out, "RIFF");
    put_u32(out, 36 + data_bytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, 1);  // mono
    put_u32(out, kSampleRate);
    put_u32(out, kSampleRate * 2);
    put_u16(out, 2);
    put_u16(out, 16);
    put_tag(out, "data");
    put_u32(out, data_bytes);
    for (float s : samples) {
        const float clamped = std::clamp(s, -1.0f, 1.0f);
        put_u16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(clamped * 32767.0f))));
    }
    return out;
}

}  // namespace assetgen
