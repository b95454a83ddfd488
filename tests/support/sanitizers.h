// Tells a test whether this build runs under AddressSanitizer, whose own handling of crash signals
// and of the address space some tests cannot share.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define QUORVEL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVEL_UNDER_ASAN 1
#endif
#endif

#ifdef QUORVEL_UNDER_ASAN
#define SKIP_UNDER_ASAN(why) GTEST_SKIP() << "not under AddressSanitizer: " << why
#else
#define SKIP_UNDER_ASAN(why) \
  do {                       \
  } while (0)
#endif
