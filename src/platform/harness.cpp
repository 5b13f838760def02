#include "platform/harness.h"

#include <cstdio>

#include "gfx/bmp.h"
#include "platform/log.h"

namespace platform {

Harness::Harness(Platform& inner, HarnessOptions options)
    : inner_(inner), options_(std::move(options)) {
    if (!options_.record_file.empty()) {
        record_.open(options_.record_file, std::ios::binary | std::ios::trunc);
        record_ << "vasul-replay 1\nseed " << options_.seed << "\n";
        record_.flush();
    }
    if (options_.dump_every == 0) options_.dump_every = 1;
    // The game reads the clock once before its first pass, when its play clocks start. A
    // recording notes that reading first, at pass 0, and a replay's clock gives it back.
    if (options_.replay) {
        const auto& events = options_.replay->events;
        if (!events.empty() && events.front().pass == 0 && events.front().is_tick) {
            set_ticks(events.front().tick);
            next_event_ = 1;
        }
    }
}

void Harness::begin_pass(uint64_t pass) {
    pass_ = pass;
    begun_ = true;
    inner_.begin_pass(pass);
    if (!options_.replay) return;
    const auto& events = options_.replay->events;
    while (next_event_ < events.size() && events[next_event_].pass <= pass) {
        const ReplayEvent& e = events[next_event_++];
        if (e.is_tick) {
            set_ticks(e.tick);
        } else {
            inner_.post_message(e.message);
        }
    }
}

bool Harness::peek_message(Message& out) {
    if (!inner_.peek_message(out)) return false;
    if (record_) {
        if (auto line = format_message(out)) {
            record_ << '@' << pass_ << ' ' << *line << '\n';
            record_.flush();
        }
    }
    return true;
}

FlipResult Harness::flip() {
    if (!options_.dump_dir.empty() && pass_ % options_.dump_every == 0) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06llu.bmp",
                      static_cast<unsigned long long>(pass_));
        const auto bytes = gfx::encode_bmp24(inner_.back_buffer());
        std::ofstream out(options_.dump_dir / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) warn("cannot write frame dump " + (options_.dump_dir / name).string());
    }
    return inner_.flip();
}

uint32_t Harness::predicted_ticks() const {
    return model_base_ + static_cast<uint32_t>((pass_ - model_pass_) * options_.tick_ms);
}

uint32_t Harness::ticks() {
    const uint32_t now = inner_.ticks();
    if (record_ && (now != predicted_ticks() || !begun_)) {
        // A replay's clock follows tick lines and then steps; note every reading it would miss.
        record_ << '@' << pass_ << " tick " << now << '\n';
        record_.flush();
        model_base_ = now;
        model_pass_ = pass_;
    }
    return now;
}

void Harness::set_ticks(uint32_t ms) {
    inner_.set_ticks(ms);
    model_base_ = ms;
    model_pass_ = pass_;
}

}  // namespace platform
