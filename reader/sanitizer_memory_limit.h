#pragma once
// The address sanitizer reserves terabytes of address space for its shadow memory, so an address
// space limit would stop a sanitizer build before it starts. There the reader counts its live heap
// through the sanitizer's allocation hooks instead and ends as out of memory when the count passes
// the limit: the same outcome the address space limit gives a release build.

#include <cstdint>

namespace reader {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizerReservesAddressSpace = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizerReservesAddressSpace = true;
#else
constexpr bool kSanitizerReservesAddressSpace = false;
#endif
#else
constexpr bool kSanitizerReservesAddressSpace = false;
#endif

// Starts counting (sanitizer builds only; elsewhere nothing happens).
void LimitSanitizerHeap(std::int64_t maxBytes);

}  // namespace reader
