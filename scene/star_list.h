#pragma once
// The star list as it travels in the archive: text, one star per line ended by a line
// feed, each line "magnitude;right ascension;declination;class letter" (for example
// "6.70;0.35;25.12;A"). The text comes straight out of the archive and has no terminating
// zero, so everything here works on (pointer, size) and never looks past the size.
#include <cstddef>
#include <cstdint>

struct StarRecord {
  double rightAscension;  // hundredths of a full turn (100 = 360 degrees)
  double declination;     // hundredths of a half-turn (50 = 90 degrees north)
  double magnitude;       // apparent visual magnitude, smaller is brighter
  int8_t colourClass;     // 0..6 for O, B, A, F, G, K, M; any other letter counts as F (3)
};

// Colour index of a spectral class letter: O 0, B 1, A 2, F 3, G 4, K 5, M 6, matched
// exactly (upper case); every other character falls into 3.
int8_t StarColourClass(char letter);

// The number of line feeds in the text: the most records it can yield. A last line without
// its line feed is not a record.
int32_t CountStarLines(const char* text, size_t size);

// Reads the records of the first `capacity` lines into `records`, in file order, and
// returns how many it read. Lines that do not hold the four fields (blank lines, missing
// fields, numbers that are not finite) are skipped, so the result may be smaller than the
// line count.
int32_t ParseStarList(const char* text, size_t size, StarRecord* records, int32_t capacity);
