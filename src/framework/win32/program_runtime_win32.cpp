// The C++ runtime pieces that a shipped Windows program brings itself, in place of the compiler's
// (test programs keep the compiler's). The tool catches no exception: whatever the standard
// library would throw ends the process, as an exception nobody catches does. So the failures it
// would throw for end the process here at once, and allocation comes straight from the C runtime's
// heap. That leaves the compiler's exception machinery (the unwinder, the exception classes and
// their strings, the name demangler that reports an uncaught exception on a standard error that a
// GUI program does not have) out of the program: it was more than half of the program's size.
// A function-local static that needs code to initialise it would bring the machinery back with
// the runtime's guard for it: tools/check-windows-imports would refuse the unwinder's imports of
// the 64-bit program and the size of the 32-bit one.
//
// Allocation keeps its contract: the plain forms never return null, the nothrow forms return null
// when memory runs out, and the tool checks those wherever it uses them. Before a plain form
// gives up it calls the new handler, where one is set, as the library's own would: that is how
// a quiet run ends with its own status instead of the runtime's message box.
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void EndAsUncaught() {
  std::abort();
}

void* Allocate(std::size_t size) {
  return std::malloc(size != 0 ? size : 1);
}

[[noreturn]] void EndForWantOfMemory() {
  if (const std::new_handler handler = std::get_new_handler()) {
    handler();
  }
  EndAsUncaught();
}

void* AllocateOrEnd(std::size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) {
    EndForWantOfMemory();
  }
  return block;
}

}  // namespace

// What the standard library calls where it would throw (bits/functexcept.h): every function of
// the object file that defines them in the library, so that the linker never takes that file (a
// function missing here would bring the file in, and its duplicates of the rest stop the link),
// and the one std::function calls.
namespace std {  // NOLINT(cert-dcl58-cpp): replacing the library's own, on purpose
void __throw_bad_exception() {
  EndAsUncaught();
}
void __throw_bad_alloc() {
  EndForWantOfMemory();
}
void __throw_bad_array_new_length() {
  EndForWantOfMemory();
}
void __throw_bad_cast() {
  EndAsUncaught();
}
void __throw_bad_typeid() {
  EndAsUncaught();
}
void __throw_logic_error(const char*) {
  EndAsUncaught();
}
void __throw_domain_error(const char*) {
  EndAsUncaught();
}
void __throw_invalid_argument(const char*) {
  EndAsUncaught();
}
void __throw_length_error(const char*) {
  EndAsUncaught();
}
void __throw_out_of_range(const char*) {
  EndAsUncaught();
}
void __throw_out_of_range_fmt(const char*, ...) {
  EndAsUncaught();
}
void __throw_runtime_error(const char*) {
  EndAsUncaught();
}
void __throw_range_error(const char*) {
  EndAsUncaught();
}
void __throw_overflow_error(const char*) {
  EndAsUncaught();
}
void __throw_underflow_error(const char*) {
  EndAsUncaught();
}
void __throw_bad_function_call() {
  EndAsUncaught();
}
}  // namespace std

void* operator new(std::size_t size) {
  return AllocateOrEnd(size);
}
void* operator new[](std::size_t size) {
  return AllocateOrEnd(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}

void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
