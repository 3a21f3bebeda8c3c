#pragma once
// The maker of the collection, as the user sees it in error texts and the About page.

namespace rotation {

inline constexpr char kMakerWebAddress[] = "http://www.kestrune.example/";

}  // namespace rotation
