#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>

namespace rules {

// The game's one random generator: values 0..32767 from the classic linear congruential
// recurrence, so a seed gives the same game on every platform. Tests may queue values that
// are handed out before the generator's own.
class Random {
  public:
    void seed(uint32_t seed) { state_ = seed; }
    int next() {
        if (!scripted_.empty()) {
            const int v = scripted_.front();
            scripted_.pop_front();
            return v;
        }
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }
    // The remainder of one fresh draw divided by n.
    int mod(int n) { return next() % n; }
    void script(std::initializer_list<int> values) { scripted_.insert(scripted_.end(), values); }
    void script_value(int value) { scripted_.push_back(value); }
    size_t scripted_left() const { return scripted_.size(); }

  private:
    uint32_t state_ = 1;
    std::deque<int> scripted_;
};

}  // namespace rules
