// Shared by the fuzz targets: property checks, plain text helpers and scratch files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/ScratchFolder.h"

// A failed property aborts, so libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition) ((condition) ? void() : ::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
    std::abort();
}

inline std::string_view Text(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

inline std::string_view Trim(std::string_view s)
{
    constexpr std::string_view kBlanks = " \t\v\f\x1A";  // form feed and Ctrl-Z too, as Windows reads them
    const std::size_t first = s.find_first_not_of(kBlanks);
    return first == s.npos ? std::string_view() : s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

inline char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// ASCII letters only, as the program compares names.
inline bool SameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// Replaces the file's whole content, in a folder of this process's own under TMPDIR
// (tools/run-fuzzers points it into build/) that goes again when the process ends normally.
inline std::string WriteScratch(const std::string& name, std::string_view bytes)
{
    static const psbtest::TScratchFolder dir("fuzz");
    const std::filesystem::path path = dir / name;
    FUZZ_CHECK(psbtest::WriteBytes(path, bytes));
    return path.string();
}

}  // namespace fuzz
