#pragma once
// What a catalogue may ask of memory, disk and time. The catalogue and its pictures come
// from a web site and a cache that anyone on the way may have changed, so every bound holds
// whatever arrives; each is far above what the collection's real catalogue needs.
#include <cstddef>
#include <cstdint>

// Products one catalogue may list (the collection has a handful); a catalogue that claims
// more is refused whole.
inline constexpr int kMaxProducts = 64;
// An ID names a folder of the cache.
inline constexpr size_t kMaxProductIdLength = 64;

// Downloads and cached files, each refused beyond its size: the catalogue, a screenshot (a
// JPEG for a picture of some 260 x 240 pixels), an icon (32 x 32 pixels at 32 bits, headers
// and a full palette included).
inline constexpr size_t kMaxCatalogueBytes = size_t{1} << 20;   // 1 MiB
inline constexpr size_t kMaxScreenshotBytes = size_t{1} << 20;  // 1 MiB
inline constexpr size_t kMaxIconBytes = size_t{8} << 10;        // 8 KiB
// The catalogue and the pictures of every product it lists, together.
inline constexpr uint64_t kMaxCacheBytes = uint64_t{32} << 20;         // 32 MiB

// A screenshot decodes to at most 2048 x 2048 pixels in at most 64 scans (a progressive
// JPEG has about ten).
inline constexpr uint64_t kMaxScreenshotPixelBytes = uint64_t{2048} * 2048 * 3;
inline constexpr int kMaxScreenshotScans = 64;

// Time: to connect, for each piece of an answer, and for a whole Web Update.
inline constexpr uint32_t kConnectTimeoutMs = 10000;
inline constexpr uint32_t kReceiveTimeoutMs = 15000;
inline constexpr uint32_t kUpdateDeadlineMs = 120000;
