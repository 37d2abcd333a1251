#pragma once
// The address sanitizer reserves terabytes of address space for its shadow memory, so an address
// space limit would stop a sanitizer build before it starts. There the reader counts its live heap
// through the sanitizer's allocation hooks instead and ends as out of memory when the count passes
// the limit: the same outcome the address space limit gives a release build.

#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define LEXORN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEXORN_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef LEXORN_ADDRESS_SANITIZER
#define LEXORN_ADDRESS_SANITIZER 0
#endif

namespace reader {

constexpr bool kSanitizerReservesAddressSpace = LEXORN_ADDRESS_SANITIZER != 0;

// Starts counting (sanitizer builds only; elsewhere nothing happens).
void LimitSanitizerHeap(std::int64_t maxBytes);

}  // namespace reader
