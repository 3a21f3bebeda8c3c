#pragma once
// Text rules of the product page, plain C++ so they are tested and fuzzed natively.
#include <array>
#include <string>
#include <string_view>

// A description line holds at most this many characters; longer ones are cut.
inline constexpr size_t kMaxDescriptionLine = 255;

// Up to three lines of a description separated by line feeds. As the catalogue's own line
// reading does, blank lines and white space in front of the second and third line are passed
// over; a carriage return ending a line is dropped. Missing lines are empty.
std::array<std::string, 3> SplitDescription(std::string_view text);
