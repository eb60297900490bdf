// Storage for the objects a battle makes and drops by the ten thousand a tick: beams, flashes and
// their layers. Each size keeps the blocks it was given back on a list and hands them out again,
// so that churn never reaches malloc, whose bins it fragments until every allocation searches
// them, and a tick's new objects sit close together in memory.
//
// The core runs on one thread; each thread keeps its own lists all the same, so a host that does
// otherwise stays correct. Blocks are never returned to the system: a crowd that grew once may
// grow again. Under AddressSanitizer the pool steps aside, so that it keeps catching an object
// used after it was freed.
#pragma once

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define MIBBETFALL_PLAIN_ALLOCATION 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIBBETFALL_PLAIN_ALLOCATION 1
#endif
#endif

template <std::size_t Size>
class RecyclingPool {
 public:
  static void* Take() {
#ifdef MIBBETFALL_PLAIN_ALLOCATION
    return ::operator new(Size);
#else
    Lists& lists = lists_;
    if (FreeBlock* block = lists.Free) {
      lists.Free = block->Next;
      return block;
    }
    if (lists.Left == 0) {
      // Chunks are only ever reached through the blocks they hold: the pool lives as long as the
      // program does.
      lists.Carve = static_cast<std::byte*>(::operator new(kChunkSize));
      lists.Left = kBlocksPerChunk;
    }
    void* block = lists.Carve;
    lists.Carve += kBlockSize;
    --lists.Left;
    return block;
#endif
  }

  static void Give(void* block) noexcept {
#ifdef MIBBETFALL_PLAIN_ALLOCATION
    ::operator delete(block);
#else
    Lists& lists = lists_;
    lists.Free = ::new (block) FreeBlock{lists.Free};
#endif
  }

 private:
  struct FreeBlock {
    FreeBlock* Next;
  };
  static constexpr std::size_t kAlign = alignof(std::max_align_t);
  static constexpr std::size_t kUsed = Size < sizeof(FreeBlock) ? sizeof(FreeBlock) : Size;
  static constexpr std::size_t kBlockSize = (kUsed + kAlign - 1) / kAlign * kAlign;
  static constexpr std::size_t kBlocksPerChunk = 1024;
  static constexpr std::size_t kChunkSize = kBlockSize * kBlocksPerChunk;

  struct Lists {
    FreeBlock* Free = nullptr;
    std::byte* Carve = nullptr;
    std::size_t Left = 0;
  };
  static thread_local Lists lists_;
};

template <std::size_t Size>
thread_local typename RecyclingPool<Size>::Lists RecyclingPool<Size>::lists_;

// A base that gives a class the pool of its own size. A derived class of another size falls back
// on the global allocator: the sized delete of a virtual destructor tells them apart.
template <class Recycled>
struct RecycledStorage {
  static void* operator new(std::size_t size) {
    return size == sizeof(Recycled) ? RecyclingPool<sizeof(Recycled)>::Take() : ::operator new(size);
  }
  static void operator delete(void* block, std::size_t size) noexcept {
    if (size == sizeof(Recycled)) RecyclingPool<sizeof(Recycled)>::Give(block);
    else ::operator delete(block);
  }
};
