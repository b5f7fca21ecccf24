#pragma once
// One parser of untrusted bytes under the mutation loop: where its seed
// inputs come from, how to feed it one input, and what it must promise.
#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace Fuzz {

using Bytes = std::vector<unsigned char>;

struct Target {
    const char* name;
    // Seed inputs: fixture files and inputs built in code.
    std::vector<Bytes> (*seeds)();
    // Feeds one input; returns an empty text when every promise held, else
    // what was broken. Crashes and heap faults are caught by the harness.
    std::string (*run)(const Bytes& input);
    // Optional: changes that know the format (length fields, nesting).
    void (*mutate)(Bytes& input, std::mt19937& random);
};

// Targets register themselves from their own files.
struct Registration {
    explicit Registration(const Target& target);
};

const std::vector<Target>& Targets();

// Shared helpers for targets.
Bytes ReadFile(const std::wstring& path);
std::vector<Bytes> ReadFolder(const std::wstring& folder);
std::wstring FixturePath(const std::wstring& relative);
std::wstring SeedPath(const std::wstring& relative);
// The input as zero-terminated UTF-16 text (pairs of bytes, an odd last byte dropped)
// in a block that ends right after the terminator.
std::wstring WideText(const Bytes& input);
// Sets a 16- or 32-bit little-endian field to one of the values that break
// careless arithmetic: 0, 1, all ones, the sign bit, the largest signed value.
void PutExtreme(Bytes& input, size_t at, int width, std::mt19937& random);

}  // namespace Fuzz
