// Replaces the global allocation functions so that memory that cannot be had stops the program
// with a message giving the number of bytes asked for, instead of an exception nobody catches.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

[[noreturn]] void StopForMemory(std::size_t size) {
  char message[96];
  std::snprintf(message, sizeof message, "Out of memory: %zu bytes could not be allocated.", size);
#ifdef _WIN32
  // Only the ASCII message box: nothing here may allocate.
  MessageBoxA(nullptr, message, "ShortLink", MB_OK | MB_ICONERROR | MB_TASKMODAL);
#else
  std::fprintf(stderr, "%s\n", message);
#endif
  std::_Exit(3);
}

void* Allocate(std::size_t size) {
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  StopForMemory(size);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
