#pragma once

#include <string>

// UTF-8 and UTF-16 as Windows hands them out, and the folders the tests
// work in.
std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);

// Full path of this executable, and its folder without a trailing backslash.
std::wstring executablePath();
std::wstring executableFolder();

bool contains(const std::string& text, const std::string& part);
