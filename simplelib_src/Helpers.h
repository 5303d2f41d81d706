#pragma once
// Small helpers shared across the engine.
#include <cstdint>
#include <cstdio>
#include <string>

// Milliseconds since the start of the wall-clock second of the first call; wraps after ~24.8 days.
int32_t getTimeMs();

// Decimal text of n in a new[] array the caller delete[]s.
char* intToString(int32_t n);

// Wide copy of s (s.length() + 1 characters with the terminator) in a new[] array the caller delete[]s.
wchar_t* stringToWide(const std::string& s);

// Each character keeps its low byte: characters above 255 are cut, not converted.
std::string wideToString(const std::wstring& w);

// True when the path opens for reading as a file; directories do not count.
bool fileExists(const std::string& path);

// Bytes between the read position and the end of the file; 0 when the file cannot seek.
long bytesLeftInFile(FILE* file);

// Whole-word test of a name in a space-separated list such as a GL extension string; a name
// holding a space is never found.
bool isExtensionInList(const char* extension, const char* extensionList);
