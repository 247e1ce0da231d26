#pragma once

// Whether the tests run on glibc's own heap, the one whose keeping and giving back of freed memory
// the heap tests measure. Under the address sanitizer the heap is the sanitizer's, and those
// measurements mean nothing there.

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PRAVOLIS_SANITIZED_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PRAVOLIS_SANITIZED_HEAP 1
#endif
