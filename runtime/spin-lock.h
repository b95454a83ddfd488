// The spinning lock word of the file services: taken by exchange, given back by a store.
#pragma once

#include <atomic>

inline void TakeLock(std::atomic<int>& word) {
  while (word.exchange(1, std::memory_order_acquire) != 0) {
  }
}
inline void GiveLock(std::atomic<int>& word) {
  word.store(0, std::memory_order_release);
}

// Holds a lock word for the scope it lives in.
struct SpinLock {
  explicit SpinLock(std::atomic<int>& word) : word(word) { TakeLock(word); }
  ~SpinLock() { GiveLock(word); }
  std::atomic<int>& word;
};
