// The SDL backend on SDL's dummy video and audio drivers: no screen or sound card needed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "gfx/surface.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_platform.h"
#include "settings/profile.h"
#include "settings/settings.h"
#include "support/fixture_pack.h"

namespace {

using namespace platform;

class SdlSmoke : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void SetUp() override {
        auto opened = make_sdl_platform({});
        ASSERT_TRUE(opened) << opened.error().reason;
        platform = std::move(*opened);
    }

    std::vector<Message> drain() {
        std::vector<Message> out;
        Message m;
        while (platform->peek_message(m)) out.push_back(m);
        return out;
    }

    std::unique_ptr<Platform> platform;
};

// A short mono 16-bit WAV file: a quarter second of a 440 Hz tone.
std::vector<uint8_t> make_wav() {
    const uint32_t rate = 22050;
    const uint32_t samples = rate / 4;
    std::vector<uint8_t> f;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint32_t v) {
        f.push_back(static_cast<uint8_t>(v));
        f.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(t[i]));
    };
    tag("RIFF");
    u32(36 + samples * 2);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    tag("data");
    u32(samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        const double s = std::sin(2.0 * std::numbers::pi * 440.0 * i / rate) * 8000.0;
        u16(static_cast<uint16_t>(static_cast<int16_t>(s)));
    }
    return f;
}

TEST_F(SdlSmoke, PostedMessagesComeBackInOrderBeforeLaterInput) {
    EXPECT_TRUE(drain().empty());
    platform->post_message({kWmQuit, 7, 0});
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&key);
    platform->post_message(mouse_message(kWmLButtonDown, 1, 2));
    const auto got = drain();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].id, kWmQuit);
    EXPECT_EQ(got[0].wparam, 7u);
    EXPECT_EQ(got[1].id, kWmLButtonDown);
    EXPECT_EQ(got[2].id, kWmKeyDown);
    EXPECT_EQ(got[2].wparam, kVkEscape);
}

TEST_F(SdlSmoke, InputEventsBecomeWin32Messages) {
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    const auto layout = sdl::fit_screen(desktop.w, desktop.h);
    auto push_button = [](Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.type = type;
        e.button.button = button;
        e.button.clicks = clicks;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    };
    auto push_key = [](Uint32 type, SDL_Keycode sym, Uint8 repeat) {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.repeat = repeat;
        e.key.keysym.sym = sym;
        SDL_PushEvent(&e);
    };
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = layout.dest.x + 100 * layout.scale;
    motion.motion.y = layout.dest.y + 50 * layout.scale;
    SDL_PushEvent(&motion);
    const int ox = layout.dest.x, oy = layout.dest.y;
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, ox, oy);
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, ox, oy);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, ox, oy);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, ox, oy);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 4, ox, oy);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, ox, oy);
    push_key(SDL_KEYDOWN, SDLK_RSHIFT, 0);
    push_key(SDL_KEYDOWN, SDLK_RSHIFT, 1);
    push_key(SDL_KEYUP, SDLK_LCTRL, 0);
    push_key(SDL_KEYDOWN, SDLK_q, 0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    SDL_PushEvent(&quit);

    const std::vector<Message> expected = {
        mouse_message(kWmMouseMove, 100, 50),
        mouse_message(kWmLButtonDown, 0, 0),
        mouse_message(kWmLButtonUp, 0, 0),
        mouse_message(kWmLButtonDblClk, 0, 0),
        mouse_message(kWmLButtonDown, 0, 0),
        mouse_message(kWmRButtonDblClk, 0, 0),
        key_message(kWmKeyDown, kVkShift),
        key_message(kWmKeyDown, kVkShift),
        key_message(kWmKeyUp, kVkControl),
        key_message(kWmKeyDown, 'Q'),
        {kWmClose, 0, 0},
    };
    const auto got = drain();
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].id, expected[i].id) << i;
        EXPECT_EQ(got[i].wparam, expected[i].wparam) << i;
        EXPECT_EQ(got[i].lparam, expected[i].lparam) << i;
    }
}

// Pointer moves coalesce as Windows delivers them: a burst of moves leaves one pending move at
// the newest position, and presses, keys and close keep their order around the moves.
TEST_F(SdlSmoke, PointerMovesCoalesceAndNeverHoldBackOtherInput) {
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    const auto layout = sdl::fit_screen(desktop.w, desktop.h);
    auto move = [&](int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = layout.dest.x + x * layout.scale;
        e.motion.y = layout.dest.y + y * layout.scale;
        SDL_PushEvent(&e);
    };
    auto button = [&](Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.clicks = 1;
        e.button.x = layout.dest.x + x * layout.scale;
        e.button.y = layout.dest.y + y * layout.scale;
        SDL_PushEvent(&e);
    };
    auto escape = [] {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = SDLK_ESCAPE;
        SDL_PushEvent(&e);
    };
    auto expect_messages = [&](const std::vector<Message>& expected) {
        const auto got = drain();
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].id, expected[i].id) << i;
            EXPECT_EQ(got[i].lparam, expected[i].lparam) << i;
        }
    };

    // A 1000 Hz mouse for 0.6 s, then Escape: the key is the second message, not the 601st.
    for (int i = 0; i < 600; ++i) move(i % 640, i % 480);
    escape();
    expect_messages({mouse_message(kWmMouseMove, 599, 119), key_message(kWmKeyDown, kVkEscape)});

    // A drag: the move before the press is kept ahead of it, later moves fold into one.
    move(10, 10);
    button(SDL_MOUSEBUTTONDOWN, 11, 11);
    move(20, 20);
    move(30, 30);
    button(SDL_MOUSEBUTTONUP, 31, 31);
    move(40, 40);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    move(50, 50);
    expect_messages({mouse_message(kWmMouseMove, 10, 10),
                     mouse_message(kWmLButtonDown, 11, 11),
                     mouse_message(kWmMouseMove, 30, 30),
                     mouse_message(kWmLButtonUp, 31, 31),
                     mouse_message(kWmMouseMove, 40, 40),
                     {kWmClose, 0, 0},
                     mouse_message(kWmMouseMove, 50, 50)});

    // One message a pass still, and a move left waiting takes the positions that come after it.
    escape();
    move(1, 2);
    Message m;
    ASSERT_TRUE(platform->peek_message(m));
    EXPECT_EQ(m.id, kWmKeyDown);
    move(3, 4);
    move(5, 6);
    expect_messages({mouse_message(kWmMouseMove, 5, 6)});
}

TEST(SdlInput, WindowPointsMapOntoTheScaledScreenAndClamp) {
    struct Case {
        sdl::ViewSize view;
        int x, y, sx, sy;
    };
    const Case cases[] = {
        {{640, 480, 640, 480}, 639, 479, 639, 479},
        {{1920, 1080, 1920, 1080}, 960, 540, 320, 240},  // scale 2, bars of 320 and 60
        {{1920, 1080, 1920, 1080}, 321, 61, 0, 0},
        {{1920, 1080, 1920, 1080}, 319, 59, 0, 0},  // in the bars: held at the edge
        {{1920, 1080, 1920, 1080}, 1599, 1019, 639, 479},
        {{1920, 1080, 1920, 1080}, 1900, 1070, 639, 479},
        {{960, 540, 1920, 1080}, 480, 270, 320, 240},  // high-density: window units are 2 px
        {{2000, 1500, 2000, 1500}, 40 + 3 * 7, 30 + 3 * 5, 7, 5},  // scale 3
        {{600, 400, 600, 400}, 0, 0, 20, 40},  // smaller than the screen: centred, cut
        {{1024, 768, 1024, 768}, -50, 5000, 0, 479},
    };
    for (const Case& c : cases) {
        const auto p = sdl::window_to_screen(c.x, c.y, c.view);
        EXPECT_EQ(p.x, c.sx) << c.view.output_w << " " << c.x;
        EXPECT_EQ(p.y, c.sy) << c.view.output_h << " " << c.y;
    }
    const auto l = sdl::fit_screen(1920, 1080);
    EXPECT_EQ(l.scale, 2);
    EXPECT_EQ(l.dest.x, 320);
    EXPECT_EQ(l.dest.y, 60);
    EXPECT_EQ(l.dest.w, 1280);
    EXPECT_EQ(l.dest.h, 960);
}

TEST(SdlInput, KeysBecomeVirtualKeys) {
    const std::pair<SDL_Keycode, uint32_t> keys[] = {
        {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32}, {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16},
        {SDLK_LCTRL, 17},  {SDLK_RCTRL, 17}, {SDLK_RETURN, 13}, {SDLK_a, 'A'},
        {SDLK_z, 'Z'},     {SDLK_0, '0'},    {SDLK_9, '9'},     {SDLK_LEFT, 37},
        {SDLK_UP, 38},     {SDLK_RIGHT, 39}, {SDLK_DOWN, 40},
    };
    for (const auto& [sym, vk] : keys) EXPECT_EQ(sdl::virtual_key(sym), vk) << sym;
    EXPECT_FALSE(sdl::virtual_key(SDLK_LGUI).has_value());
}

// A drop arrives as SDL's begin, one event per file (text is no file) and its end; the game
// hears one kWmDropFiles and then takes the paths, once.
TEST_F(SdlSmoke, ADropOfFilesBecomesOneMessageWithItsPaths) {
    auto push = [](Uint32 type, const char* text) {
        SDL_Event e{};
        e.type = type;
        e.drop.file = text ? SDL_strdup(text) : nullptr;
        SDL_PushEvent(&e);
    };
    push(SDL_DROPBEGIN, nullptr);
    push(SDL_DROPFILE, "/home/player/Bilder/K\xc3\xbcste.jpg");
    push(SDL_DROPTEXT, "some words");
    push(SDL_DROPFILE, "/tmp/b.png");
    ASSERT_TRUE(drain().empty()) << "nothing until the drop is complete";
    push(SDL_DROPCOMPLETE, nullptr);
    const std::vector<Message> got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].id, kWmDropFiles);
    EXPECT_EQ(got[0].wparam, 2u);
    const std::vector<std::filesystem::path> files = platform->take_dropped_files();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], utf8_path("/home/player/Bilder/K\xc3\xbcste.jpg"));
    EXPECT_EQ(files[1], std::filesystem::path("/tmp/b.png"));
    EXPECT_TRUE(platform->take_dropped_files().empty());
    push(SDL_DROPBEGIN, nullptr);
    push(SDL_DROPTEXT, "only words");
    push(SDL_DROPCOMPLETE, nullptr);
    EXPECT_TRUE(drain().empty()) << "a drop of text alone is no drop of files";
}

TEST_F(SdlSmoke, FlipsArePacedAndTheClockCanBeSet) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(platform->flip(), FlipResult::Ok);
    const uint32_t start = platform->ticks();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(platform->flip(), FlipResult::Ok);
    const uint32_t took = platform->ticks() - start;
    EXPECT_GE(took, 180u);  // 12 frames at 60 Hz are 200 ms
    EXPECT_LE(took, 1000u);

    platform->set_ticks(4294967000u);
    const uint32_t set = platform->ticks();
    EXPECT_LE(set - 4294967000u, 5u);
    SDL_Delay(400);
    const uint32_t later = platform->ticks();  // wraps past zero
    EXPECT_LT(later, 1000u);
    EXPECT_GE(later - set, 400u);
}

TEST_F(SdlSmoke, ADeviceResetLosesOneFlipUntilRestored) {
    platform->back_buffer().fill(0x123456);
    EXPECT_EQ(platform->flip(), FlipResult::Ok);
    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&reset);
    EXPECT_TRUE(drain().empty());
    const uint32_t before = SDL_GetTicks();
    EXPECT_EQ(platform->flip(), FlipResult::Lost);
    EXPECT_GE(SDL_GetTicks() - before, 40u);  // waits instead of spinning
    EXPECT_EQ(platform->flip(), FlipResult::Lost);
    platform->restore();
    EXPECT_EQ(platform->flip(), FlipResult::Ok);
}

TEST_F(SdlSmoke, AfterTheWindowIsGoneFlipsAndInputAreQuiet) {
    platform->hide_cursor();
    platform->destroy_window();
    EXPECT_EQ(platform->flip(), FlipResult::Ok);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_SPACE;
    SDL_PushEvent(&key);
    platform->post_message({kWmQuit, 0, 0});
    const auto got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].id, kWmQuit);
}

// Alt+Enter and F11 belong to the window: no scene hears them, and each switch is remembered
// in vasul.ini beside the game's own settings. Enter alone and held-down repeats don't switch.
TEST_F(SdlSmoke, AltEnterAndF11SwitchFullScreenUnheardByTheGameAndAreRemembered) {
    const std::filesystem::path dir = fixture::make_temp_dir("sdl-display");
    const std::filesystem::path ini = dir / "vasul.ini";
    std::ofstream(ini) << "[mode]\nlevel=2\n";
    settings::ProfileStore store(ini);
    platform.reset();  // one SDL window at a time
    auto opened =
        make_sdl_platform({false, {}, [&](bool full) { settings::write_fullscreen(store, full); }});
    ASSERT_TRUE(opened) << opened.error().reason;
    platform = std::move(*opened);
    auto remembered = [&] { return settings::read_fullscreen(settings::ProfileStore(ini)); };
    auto press = [](SDL_Keycode sym, Uint16 mod, Uint8 repeat) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.type = type;
            e.key.repeat = repeat;
            e.key.keysym.sym = sym;
            e.key.keysym.mod = mod;
            SDL_PushEvent(&e);
        }
    };
    struct Case {
        const char* name;
        SDL_Keycode key;
        Uint16 mod;
        Uint8 repeat;
        bool switches;
        std::vector<Message> heard;
    };
    const std::vector<Message> enter = {key_message(kWmKeyDown, 13), key_message(kWmKeyUp, 13)};
    const Case cases[] = {
        {"Alt+Enter", SDLK_RETURN, KMOD_LALT, 0, true, {}},
        {"F11", SDLK_F11, KMOD_NONE, 0, true, {}},
        {"right Alt and the keypad's Enter", SDLK_KP_ENTER, KMOD_RALT, 0, true, {}},
        {"F11 held down", SDLK_F11, KMOD_NONE, 1, false, {}},
        {"Enter alone", SDLK_RETURN, KMOD_NONE, 0, false, enter},
    };
    bool full = true;
    EXPECT_TRUE(remembered()) << "a new player starts full screen";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        press(c.key, c.mod, c.repeat);
        const auto got = drain();
        ASSERT_EQ(got.size(), c.heard.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].id, c.heard[i].id);
            EXPECT_EQ(got[i].wparam, c.heard[i].wparam);
        }
        if (c.switches) full = !full;
        EXPECT_EQ(remembered(), full);
    }
    EXPECT_EQ(fixture::file_text(ini), "[mode]\nlevel=2\n[display]\nfullscreen=0\n");
    std::filesystem::remove_all(dir);
}

TEST_F(SdlSmoke, AudioPlaysAGeneratedWaveOnTheEffectChannel) {
    AudioDevice& audio = platform->audio();
    ASSERT_TRUE(audio.init());
    const auto wav = std::make_shared<const std::vector<uint8_t>>(make_wav());
    const int effect = audio.open_stream(wav);
    ASSERT_NE(effect, 0);
    EXPECT_EQ(audio.open_stream(std::make_shared<const std::vector<uint8_t>>(16, 'x')), 0);
    std::vector<uint8_t> bad_ogg = {'O', 'g', 'g', 'S', 0, 0, 0, 0};
    EXPECT_EQ(audio.open_stream(std::make_shared<const std::vector<uint8_t>>(bad_ogg)), 0);

    audio.play(0, effect);  // a wave is no music: channel 0 stays silent
    EXPECT_FALSE(audio.is_playing(0));
    audio.play(1, effect);
    audio.set_volume(1, 255);
    EXPECT_TRUE(audio.is_playing(1));
    audio.stop(AudioDevice::kAllChannels);
    EXPECT_FALSE(audio.is_playing(1));

    audio.play(1, effect);
    EXPECT_TRUE(audio.is_playing(1));
    SDL_Delay(600);  // the quarter second has played out
    EXPECT_FALSE(audio.is_playing(1));

    audio.play(1, effect);
    audio.close();
    EXPECT_FALSE(audio.is_playing(1));
    EXPECT_EQ(audio.open_stream(wav), 0);
    audio.play(1, effect);
    EXPECT_FALSE(audio.is_playing(1));
    EXPECT_FALSE(audio.init());
}

// The music tracks of the default data pack, which the mixer decodes as Ogg Vorbis.
SoundBytes pack_track(const char* name) {
    std::ifstream in(std::filesystem::path(VASUL_DATA_DIR) / "ogg" / name, std::ios::binary);
    if (!in) return nullptr;
    return std::make_shared<const std::vector<uint8_t>>(std::istreambuf_iterator<char>(in),
                                                        std::istreambuf_iterator<char>());
}

TEST(SdlAudio, MusicStreamsFromMemoryAndReplacedStreamsAreFreed) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto title = pack_track("title1-2a.ogg");
    auto stage = pack_track("stsound1-2a.ogg");
    if (!title || !stage) GTEST_SKIP() << "no data pack at " << VASUL_DATA_DIR;
    sdl::SdlAudio audio;
    ASSERT_TRUE(audio.init());
    const int a = audio.open_stream(std::move(title));  // the device keeps the only copy
    ASSERT_NE(a, 0);
    audio.play(0, a);
    audio.set_volume(0, 165);
    audio.play(1, a);  // music is no effect: channel 1 stays silent
    EXPECT_FALSE(audio.is_playing(1));
    SDL_Delay(100);
    EXPECT_TRUE(audio.is_playing(0));

    // Opened but not started, the newer track must not take the playing one away.
    const int b = audio.open_stream(stage);
    const int c = audio.open_stream(stage);
    EXPECT_TRUE(audio.is_playing(0));
    EXPECT_EQ(audio.streams_held(), 2u);  // a plays, c is the newest; b is gone
    audio.play(0, b);                     // a freed stream starts nothing
    EXPECT_TRUE(audio.is_playing(0));
    audio.play(0, c);
    EXPECT_EQ(audio.streams_held(), 1u);
    audio.play(0, c);  // starting it again from the beginning
    EXPECT_TRUE(audio.is_playing(0));
    audio.stop(0);
    EXPECT_FALSE(audio.is_playing(0));
}

// SDL's colour-key blit is the reference for ours, over every row width around the vector
// width and unaligned starts on both sides.
TEST(SdlBlit, OurKeyedBlitMatchesSdlsColourKey) {
    constexpr uint32_t kKey = 0x00FF00FFu;
    gfx::Surface src(40, 6);
    uint32_t state = 99;
    for (uint32_t& p : src.pixels()) {
        state = state * 214013u + 2531011u;
        p = (state >> 30) < 2 ? kKey : (state >> 8);
    }
    src.set_color_key(kKey);
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(src.pixels().data(), 40, 6, 32, 40 * 4,
                                                        SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    SDL_SetColorKey(s, SDL_TRUE, kKey);
    for (int w = 1; w <= 21; ++w) {
        for (int shift = 0; shift < 4; ++shift) {
            gfx::Surface ours(48, 8, 0x0A0B0C);
            gfx::Surface theirs(48, 8, 0x0A0B0C);
            SDL_Surface* d = SDL_CreateRGBSurfaceWithFormatFrom(theirs.pixels().data(), 48, 8, 32,
                                                                48 * 4, SDL_PIXELFORMAT_RGB888);
            SDL_Rect from{shift, 1, w, 5};
            SDL_Rect to{3 - shift, 2, 0, 0};
            SDL_BlitSurface(s, &from, d, &to);
            SDL_FreeSurface(d);
            gfx::blit(ours, 3 - shift, 2, src, {shift, 1, shift + w, 6}, true);
            EXPECT_EQ(ours.pixels(), theirs.pixels()) << "width " << w << " shift " << shift;
        }
    }
    SDL_FreeSurface(s);
}

}  // namespace
