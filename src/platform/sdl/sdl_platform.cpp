#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/frame_pacer.h"
#include "platform/message_queue.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_input.h"

namespace platform {

namespace {

using sdl::Layout;
using sdl::ViewSize;

constexpr uint32_t kLostWaitMs = 50;  // while there is nothing to show, don't spin

// The desktop matches a window to its menu entry by the application id, which SDL reads from
// these variables when its video starts. A value the player set is left alone.
void name_the_window_class() {
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", VASUL_APP_ID, 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", VASUL_APP_ID, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Vasul");
}

// With no X11 or Wayland server to reach, SDL falls back to drivers that draw nowhere, and a
// game started over a bare ssh session would run unseen for ever. Only a driver asked for by
// name in SDL_VIDEODRIVER (as the tests do) may be one of those.
bool driver_shows_a_picture() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && *asked) return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

class SdlPlatform final : public Platform {
  public:
    SdlPlatform() = default;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;
    ~SdlPlatform() override;

    // Fails, with SDL's reason, when there is no display to play on.
    Result<void> open(const BackendOptions& options);

    void begin_pass(uint64_t) override {}
    bool peek_message(Message& out) override;
    void post_message(const Message& message) override { queue_.push(message); }
    void destroy_window() override;
    gfx::Surface& back_buffer() override { return back_buffer_; }
    FlipResult flip() override;
    void restore() override;
    void hide_cursor() override { SDL_ShowCursor(SDL_DISABLE); }
    uint32_t ticks() override { return SDL_GetTicks() + tick_offset_; }
    void set_ticks(uint32_t ms) override { tick_offset_ = ms - SDL_GetTicks(); }
    AudioDevice& audio() override { return audio_; }
    std::vector<std::filesystem::path> take_dropped_files() override {
        return std::exchange(dropped_, {});
    }

  private:
    bool create_window(const BackendOptions& options);
    void set_icon(const std::filesystem::path& file);
    bool create_renderer();
    bool create_texture();
    void destroy_display();
    void take_event(const SDL_Event& event);
    void take_drop(const SDL_Event& event);
    bool take_display_key(const SDL_KeyboardEvent& key);
    void switch_fullscreen();
    void request_close();
    ViewSize view_size() const;
    bool screen_hidden() const;
    void present();
    void pace();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    gfx::Surface back_buffer_{kScreenWidth, kScreenHeight};
    MessageQueue queue_;
    sdl::SdlAudio audio_;
    uint32_t tick_offset_ = 0;
    bool device_reset_ = false;
    bool close_requested_ = false;
    std::function<void(bool)> fullscreen_changed_;
    bool enter_switched_ = false;  // the Enter of an Alt+Enter is still down
    // The files of a drop as SDL names them one by one, then handed over whole.
    std::vector<std::filesystem::path> dropping_;
    std::vector<std::filesystem::path> dropped_;
    // Without a working vsync the present returns at once, so flip() keeps 60 Hz itself.
    FramePacer pacer_;
};

SdlPlatform::~SdlPlatform() {
    // The mixer goes before the rest of SDL.
    audio_.close();
    destroy_display();
    SDL_Quit();
}

Result<void> SdlPlatform::open(const BackendOptions& options) {
    name_the_window_class();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return Error{ErrorKind::Failed, SDL_GetError()};
    if (!driver_shows_a_picture()) {
        return Error{ErrorKind::Missing,
                     "no display found (no X11 or Wayland server answered); --headless runs "
                     "the game without one"};
    }
    if (!create_window(options) || !create_renderer() || !create_texture())
        return Error{ErrorKind::Failed, SDL_GetError()};
    set_icon(options.icon);
    fullscreen_changed_ = options.fullscreen_changed;
    // Pictures dropped on the window go into the player's folder.
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    return {};
}

bool SdlPlatform::create_window(const BackendOptions& options) {
    // The window is sized for the desktop even when it opens full screen, so that leaving full
    // screen gives the largest whole-number scale that fits.
    SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) usable = {0, 0, mode.w, mode.h};
    }
    const int scale = sdl::fit_screen(usable.w, usable.h).scale;
    const uint32_t flags =
        SDL_WINDOW_RESIZABLE | (options.windowed ? 0u : uint32_t{SDL_WINDOW_FULLSCREEN_DESKTOP});
    window_ = SDL_CreateWindow("Vasul", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth * scale, kScreenHeight * scale, flags);
    // Smaller than the screen, the picture would lose its edges.
    if (window_) SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
    return window_ != nullptr;
}

void SdlPlatform::set_icon(const std::filesystem::path& file) {
    if (file.empty()) return;
    SDL_Surface* icon = SDL_LoadBMP(file.string().c_str());
    if (!icon) return;  // the system's default icon does
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

bool SdlPlatform::create_renderer() {
    // Whole-number scaling with nearest sampling keeps every pixel square and sharp.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) return false;
    SDL_RendererInfo info;
    const bool vsync =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!vsync || (driver && std::strcmp(driver, "dummy") == 0)) pacer_.pace_always();
    return true;
}

bool SdlPlatform::create_texture() {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
    if (!texture_) return false;
    // The back buffer's top byte is unused, so it must not act as alpha.
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    return true;
}

void SdlPlatform::destroy_display() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

void SdlPlatform::destroy_window() {
    destroy_display();
}

bool SdlPlatform::peek_message(Message& out) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) take_event(event);
    return queue_.pop(out);
}

void SdlPlatform::take_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            request_close();
            return;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) request_close();
            return;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            device_reset_ = true;
            return;
        default:
            break;
    }
    if (!window_) return;  // the window is gone: no more input
    if (event.type == SDL_DROPBEGIN || event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT ||
        event.type == SDL_DROPCOMPLETE) {
        take_drop(event);
        return;
    }
    if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && take_display_key(event.key))
        return;
    if (auto message = sdl::input_message(event, view_size())) queue_.push(*message);
}

// A drop comes as its begin, a file event for each file and its end; the game hears of it once,
// at the end, as one kWmDropFiles. Dropped text is no file and is left out.
void SdlPlatform::take_drop(const SDL_Event& event) {
    if (event.type == SDL_DROPBEGIN) dropping_.clear();
    if (event.type == SDL_DROPFILE && event.drop.file)
        dropping_.push_back(utf8_path(event.drop.file));
    if ((event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) && event.drop.file)
        SDL_free(event.drop.file);
    if (event.type != SDL_DROPCOMPLETE || dropping_.empty()) return;
    dropped_ = std::exchange(dropping_, {});
    queue_.push({kWmDropFiles, static_cast<uint32_t>(dropped_.size()), 0});
}

// Alt+Enter and F11 belong to the window, not to the game: both the press and the release
// are kept from the scenes. Holding the keys down switches once.
bool SdlPlatform::take_display_key(const SDL_KeyboardEvent& key) {
    const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    if (key.type == SDL_KEYUP) {
        if (!enter) return key.keysym.sym == SDLK_F11;
        return std::exchange(enter_switched_, false);
    }
    if (!sdl::is_display_switch(key.keysym)) return false;
    if (enter) enter_switched_ = true;
    if (!key.repeat) switch_fullscreen();
    return true;
}

void SdlPlatform::switch_fullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) == 0;
    if (SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    if (fullscreen_changed_) fullscreen_changed_(full);
}

void SdlPlatform::request_close() {
    // A click on the window's close box brings both a window event and SDL_QUIT; the game
    // needs to hear it once.
    if (close_requested_) return;
    close_requested_ = true;
    queue_.push({kWmClose, 0, 0});
}

ViewSize SdlPlatform::view_size() const {
    ViewSize v;
    if (window_) SDL_GetWindowSize(window_, &v.window_w, &v.window_h);
    if (renderer_) SDL_GetRendererOutputSize(renderer_, &v.output_w, &v.output_h);
    return v;
}

bool SdlPlatform::screen_hidden() const {
    return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

FlipResult SdlPlatform::flip() {
    if (!window_) return FlipResult::Ok;  // nothing is shown after the window is gone
    if (device_reset_ || !texture_ || screen_hidden()) {
        SDL_Delay(kLostWaitMs);
        return FlipResult::Lost;
    }
    present();
    pace();
    return FlipResult::Ok;
}

void SdlPlatform::restore() {
    if (!renderer_) return;
    if (device_reset_ || !texture_) {
        // After a device reset every texture must be made again.
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = nullptr;
        if (create_texture()) device_reset_ = false;
    }
}

void SdlPlatform::present() {
    SDL_UpdateTexture(texture_, nullptr, back_buffer_.pixels().data(),
                      kScreenWidth * static_cast<int>(sizeof(uint32_t)));
    int w = 0;
    int h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    const Layout layout = sdl::fit_screen(w, h);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &layout.dest);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::pace() {
    const uint64_t freq = SDL_GetPerformanceFrequency();
    const uint64_t wait = pacer_.after_present(SDL_GetPerformanceCounter(), freq);
    if (wait > 0) SDL_Delay(static_cast<uint32_t>(wait * 1000 / freq));
}

}  // namespace

Result<std::unique_ptr<Platform>> make_sdl_platform(const BackendOptions& options) {
    auto platform = std::make_unique<SdlPlatform>();
    if (const Result<void> opened = platform->open(options); !opened) return opened.error();
    return std::unique_ptr<Platform>(std::move(platform));
}

}  // namespace platform
