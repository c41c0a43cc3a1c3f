// The few places where the operating system shows through: opening a file by
// a wide path, filesystem paths from wide or UTF-8 text, the command line as
// UTF-8, locale-independent number reading and Unicode lower-casing. Each
// function has one implementation per system (os_posix.cpp, os_windows.cpp);
// everything above this layer stays the same on both.
//
// Wide strings are UTF-32 on Linux and UTF-16 on Windows; UTF-8 is the
// encoding of narrow text everywhere in the library.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kvswx {

// Opens `path` with a C stdio mode ("r", "w", "a", optionally "+"). The file
// is always binary: what is written reaches the disk byte for byte (no line
// end translation, no byte-order mark). Null when it cannot be opened.
std::FILE* OpenFile(const std::wstring& path, const char* mode) noexcept;

// Filesystem path of a wide path, without passing through a code page.
std::filesystem::path PathFromWide(std::wstring_view path);
// Filesystem path of UTF-8 text (command-line arguments, recordings).
std::filesystem::path PathFromUtf8(std::string_view path);
// A path as UTF-8 text, for messages and for building other paths.
std::string PathToUtf8(const std::filesystem::path& path);

// The process's command-line arguments as UTF-8, program name first. On
// Windows they are taken from the wide command line, so arguments outside
// the ANSI code page survive; elsewhere argv is already UTF-8.
std::vector<std::string> CommandLineUtf8(int argc, char** argv);

// strtod in the "C" locale whatever the process's locale: the longest prefix
// that forms a number (decimal, hexadecimal "0x", "inf", "nan"), infinity on
// overflow, the nearest subnormal or zero on underflow, 0.0 for no number.
double StrtodC(const char* text) noexcept;

// Lower-cases `text` by the Unicode simple case mapping, independent of the
// process's locale.
void LowerCaseUnicode(std::wstring& text);

}  // namespace kvswx
