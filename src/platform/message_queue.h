#pragma once
#include <cstddef>
#include <deque>

#include "platform/messages.h"

namespace platform {

// The window's input queue, with pointer moves coalesced as Windows does: a move that arrives
// while the newest queued message is a move replaces it, so a fast mouse leaves one pending
// position instead of a backlog. Every other message keeps its place and order, and a move
// queued before a press still comes out before it.
class MessageQueue {
  public:
    void push(const Message& message);
    // Takes the oldest message; false when the queue is empty.
    bool pop(Message& out);
    bool empty() const { return queue_.empty(); }
    size_t size() const { return queue_.size(); }

  private:
    std::deque<Message> queue_;
};

}  // namespace platform
