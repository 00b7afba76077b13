#pragma once
// Standard error as a stream that never keeps the game waiting. A pipe
// nobody reads fills up, and a plain write to a full pipe waits until its
// reader comes back, which may be never: the game would stop answering
// even Escape.

#include <cstddef>
#include <string_view>

namespace platform {

// Writes the start of `text` to standard error, as much as it takes at once
// without waiting: how many bytes went (none while it is full), or -1 when
// it cannot be written to at all (its reader is gone, the disk is full).
std::ptrdiff_t writeErrorsNow(std::string_view text);

}  // namespace platform
