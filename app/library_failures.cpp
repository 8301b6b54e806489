// The program throws nothing: every failure is a value its front ends show.
// What the C++ library itself would throw (memory exhausted, a length past
// max_size) can only end it. Defined here, these keep the library's
// exception machinery, its unwinder and their tables (some 60 KB) out of the
// program. Linked into the program only; the tests use exceptions.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    std::abort();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

#if defined(__GLIBCXX__)
// libstdc++'s inline containers call these to throw.
namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std

// The default terminate handler prints the exception's demangled type,
// which links in the whole demangler.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
