#pragma once
// Which addresses from the catalogue the program fetches or hands to the browser. The
// catalogue travels over the network, so only addresses that TLS protects on their way and
// that no program can read as anything but one web address are taken.
#include <cstddef>
#include <string_view>

// Longest address taken, as the system's address buffers allow.
inline constexpr size_t kMaxAddressLength = 2048;

// True for "https://" (scheme letters in any case) followed by a host, with every character
// one that an address may hold (letters, digits and - . _ ~ : / ? # [ ] @ ! $ & ' ( ) * + , ; =,
// and % before two hex digits) and no user name or password before the host. Plain "http://",
// programs, files, network paths and anything with blanks, quotes, control characters or
// bytes beyond ASCII are refused.
bool IsSecureWebAddress(std::string_view address);
