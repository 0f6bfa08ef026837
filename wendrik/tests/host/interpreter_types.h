// The SAA types as the test host's interpreter lays them out, of its own and
// not from the package's headers, so that a package that reads a length at
// the wrong width or offset shows it. Two families:
//   HostLayout::Ulong   lengths and the argument count are unsigned long
//                       (32 bits on x64 Windows, padding after a string's
//                       length; 64 bits on Linux; 32 bits on x86)
//   HostLayout::SizeT   lengths and the argument count are size_t
// Only on x64 Windows do the two differ.
#ifndef WENDRIK_TESTS_INTERPRETER_TYPES_H
#define WENDRIK_TESTS_INTERPRETER_TYPES_H

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#define HOST_ENTRY __stdcall
#else
#define HOST_ENTRY
#endif

enum class HostLayout { Ulong, SizeT };

// What the unsigned-long family leaves in the padding after a 32-bit length
// and in the upper half of the argument count's register: the host fills
// them with this, so a package that reads or writes them shows it.
const uint32_t HOST_GARBAGE = 0xA5A5A5A5u;

template <typename Length, bool Padded = (sizeof(Length) < sizeof(char *))>
struct HostStringAs {
  Length strlength;
  char *strptr;
};

template <typename Length>
struct HostStringAs<Length, true> {
  Length strlength;
  unsigned char padding[sizeof(char *) - sizeof(Length)];
  char *strptr;
};

template <typename Length>
struct HostShvBlockAs {
  HostShvBlockAs *shvnext;
  HostStringAs<Length> shvname;
  HostStringAs<Length> shvvalue;
  Length shvnamelen;
  Length shvvaluelen;
  unsigned char shvcode;
  unsigned char shvret;
};

typedef HostStringAs<unsigned long> HostUlongString;
typedef HostStringAs<size_t> HostSizeString;
typedef HostShvBlockAs<unsigned long> HostUlongBlock;
typedef HostShvBlockAs<size_t> HostSizeBlock;

#if defined(_WIN64)
// The layouts on x64 Windows, byte by byte.
static_assert(sizeof(HostUlongString) == 16 && offsetof(HostUlongString, strptr) == 8, "");
static_assert(sizeof(HostSizeString) == 16 && offsetof(HostSizeString, strptr) == 8, "");
static_assert(offsetof(HostUlongBlock, shvname) == 8 && offsetof(HostUlongBlock, shvvalue) == 24 &&
                  offsetof(HostUlongBlock, shvnamelen) == 40 && offsetof(HostUlongBlock, shvvaluelen) == 44 &&
                  offsetof(HostUlongBlock, shvcode) == 48 && offsetof(HostUlongBlock, shvret) == 49 &&
                  sizeof(HostUlongBlock) == 56,
              "");
static_assert(offsetof(HostSizeBlock, shvname) == 8 && offsetof(HostSizeBlock, shvvalue) == 24 &&
                  offsetof(HostSizeBlock, shvnamelen) == 40 && offsetof(HostSizeBlock, shvvaluelen) == 48 &&
                  offsetof(HostSizeBlock, shvcode) == 56 && offsetof(HostSizeBlock, shvret) == 57 &&
                  sizeof(HostSizeBlock) == 64,
              "");
// The unsigned-long family passes the 32-bit count in a 64-bit register and
// reads the return value's low 32 bits (eax); the size_t family passes and
// reads all 64 bits (rax).
typedef uint64_t HostUlongCount;
typedef uint32_t HostUlongReturn;
#else
typedef unsigned long HostUlongCount;
typedef unsigned long HostUlongReturn;
#endif

typedef HostUlongReturn HOST_ENTRY HostUlongFunction(const char *name, HostUlongCount argc, void *argv,
                                                     const char *queue, void *result);
typedef size_t HOST_ENTRY HostSizeFunction(const char *name, size_t argc, void *argv, const char *queue,
                                           void *result);

#endif
