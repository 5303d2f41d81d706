#pragma once
// The two tiers of failure. The fatal report (`reportError`, `ASSERT`, `ASSERT_MSG`,
// `FATAL_ERROR`) shows the report, writes it to stderr after "ERROR : " and exits with code 1.
// `showError` shows one message the same way and returns.
#include <string>

extern const char* programVersion;

// condition and message may each be null. Never returns.
[[noreturn]] void reportError(const char* file, const char* compileTime, const char* condition, int line,
                              const char* message);

void showError(const std::string& message);

// The report text, without showing it (the tests read it).
std::string composeErrorReport(const char* file, const char* compileTime, const char* condition, int line,
                               const char* message);

#define ASSERT(condition)                                                                 \
    do {                                                                                  \
        if (!(condition)) reportError(__FILE__, __TIME__, #condition, __LINE__, nullptr); \
    } while (0)

#define ASSERT_MSG(condition, message)                                                                         \
    do {                                                                                                       \
        if (!(condition)) reportError(__FILE__, __TIME__, #condition, __LINE__, std::string(message).c_str()); \
    } while (0)

#define FATAL_ERROR(message) reportError(__FILE__, __TIME__, nullptr, __LINE__, std::string(message).c_str())
