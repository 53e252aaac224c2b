#pragma once

namespace test {

// True in the sanitizer build, where every memory access is checked and code
// runs many times slower: a test that repeats the same code at length may
// repeat it less there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

}  // namespace test
