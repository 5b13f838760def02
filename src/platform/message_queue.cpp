#include "platform/message_queue.h"

namespace platform {

void MessageQueue::push(const Message& message) {
    if (message.id == kWmMouseMove && !queue_.empty() && queue_.back().id == kWmMouseMove) {
        queue_.back() = message;
        return;
    }
    queue_.push_back(message);
}

bool MessageQueue::pop(Message& out) {
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

}  // namespace platform
