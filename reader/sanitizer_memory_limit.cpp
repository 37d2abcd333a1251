#include "reader/sanitizer_memory_limit.h"

#include "platform/reader/reader_wire.h"

#include <unistd.h>

#include <atomic>
#include <cstddef>

#if LEXORN_ADDRESS_SANITIZER
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

namespace reader {

#if LEXORN_ADDRESS_SANITIZER
namespace {

std::atomic<std::int64_t> g_liveBytes{0};
std::int64_t g_maxBytes = 0;

void OnAllocated(const volatile void*, size_t size) {
  if (g_liveBytes.fetch_add(static_cast<std::int64_t>(size)) + static_cast<std::int64_t>(size) > g_maxBytes) {
    ::_exit(platform::reader::kExitOutOfMemory);
  }
}

void OnFreed(const volatile void* pointer) {
  g_liveBytes.fetch_sub(static_cast<std::int64_t>(__sanitizer_get_allocated_size(pointer)));
}

}  // namespace

void LimitSanitizerHeap(std::int64_t maxBytes) {
  g_maxBytes = maxBytes;
  __sanitizer_install_malloc_and_free_hooks(OnAllocated, OnFreed);
}
#else
void LimitSanitizerHeap(std::int64_t) {}
#endif

}  // namespace reader
