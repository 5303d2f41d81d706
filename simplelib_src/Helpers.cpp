#include "Helpers.h"
#include "platform/Platform.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int32_t getTimeMs() {
    static bool started = false;
    static int64_t firstSecond = 0;
    int64_t seconds, microseconds;
    platform::wallClock(seconds, microseconds);
    if (!started) {
        started = true;
        firstSecond = seconds;
    }
    // 32-bit arithmetic that wraps instead of overflowing.
    uint32_t ms = static_cast<uint32_t>(seconds - firstSecond) * 1000u + static_cast<uint32_t>(microseconds / 1000);
    return static_cast<int32_t>(ms);
}

char* intToString(int32_t n) {
    char buffer[16];
    int length = std::snprintf(buffer, sizeof buffer, "%d", n);
    char* text = new char[length + 1];
    std::memcpy(text, buffer, length + 1);
    return text;
}

wchar_t* stringToWide(const std::string& s) {
    wchar_t* w = new wchar_t[s.length() + 1];
    // The C locale maps each byte to itself; where the C library refuses a byte, widen it directly.
    if (std::mbstowcs(w, s.c_str(), s.length() + 1) == static_cast<size_t>(-1)) {
        for (size_t i = 0; i < s.length(); ++i) w[i] = static_cast<unsigned char>(s[i]);
        w[s.length()] = 0;
    }
    return w;
}

std::string wideToString(const std::wstring& w) {
    std::string s(w.length(), '\0');
    for (size_t i = 0; i < w.length(); ++i) s[i] = static_cast<char>(w[i] & 0xFF);
    return s;
}

bool fileExists(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    struct stat info;
    bool isFile = fstat(fileno(f), &info) == 0 && !S_ISDIR(info.st_mode);
    std::fclose(f);
    return isFile;
}

long bytesLeftInFile(FILE* file) {
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return 0;
    long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end > here ? end - here : 0;
}

bool isExtensionInList(const char* extension, const char* list) {
    if (!list || std::strchr(extension, ' ')) return false;
    size_t length = std::strlen(extension);
    if (length == 0) return false;
    for (const char* p = std::strstr(list, extension); p; p = std::strstr(p + 1, extension)) {
        bool startsWord = p == list || p[-1] == ' ';
        bool endsWord = p[length] == ' ' || p[length] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}
