#pragma once

#include <string>
#include <string_view>

// Program arguments are bytes, and JUCE's String takes them as UTF-8 without checking: an
// ill-formed sequence (overlong, truncated, surrogate, beyond U+10FFFF) makes it read and even
// write past its buffers. Every argument is made well-formed before JUCE sees it: each byte that
// does not start a well-formed sequence becomes U+FFFD; well-formed text passes unchanged.
std::string toWellFormedUtf8 (std::string_view bytes);
