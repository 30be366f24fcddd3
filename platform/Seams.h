// Internal state behind the test seams; the public face is platform/TestSeams.h.
#pragma once

#include "platform/Types.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui::seams {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};
using MessageBoxResponder = std::function<int(const MessageBoxRecord&)>;

struct State {
    std::optional<TPoint> cursor;
    std::optional<std::pair<int, int>> screen;
    MessageBoxResponder responder;
    std::vector<MessageBoxRecord> boxes;
    bool answerBoxes = false;
    bool refuseTimers = false;
};

State& Get();

} // namespace ui::seams
