#pragma once
// HTTP downloads of the catalogue, its screenshots and icons, through WinInet with the
// system's preconfigured access (its proxy settings). Blocks the calling thread.
#include <cstdint>
#include <string>
#include <vector>

// A body larger than this fails the fetch; the catalogue and its pictures are far smaller.
inline constexpr size_t kMaxDownloadBytes = size_t{16} << 20;

// The body's length with `body` filled, or -1 with `body` empty: the address is not
// "http://" or "https://", the server can't be reached or answers with a status other than
// 2xx in 5 attempts 250 ms apart, the body exceeds kMaxDownloadBytes, or memory runs out.
// 0 is an empty body. Shows "Can't init internet connection!" when no session can be opened.
int64_t HttpFetch(const std::string& url, std::vector<uint8_t>* body);
