#include "Helpers.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cwchar>

TEST(Helpers, IntToString) {
    struct Case {
        int32_t n;
        const char* text;
    };
    const Case cases[] = {{0, "0"}, {-45, "-45"}, {100, "100"}, {INT32_MIN, "-2147483648"}, {INT32_MAX, "2147483647"}};
    for (const Case& c : cases) {
        char* text = intToString(c.n);
        EXPECT_STREQ(text, c.text);
        delete[] text;
    }
}

TEST(Helpers, WideConversionsKeepLowBytes) {
    EXPECT_EQ(wideToString(L"\u00e9"), "\xe9");
    EXPECT_EQ(wideToString(L"\u0142"), "\x42");
    EXPECT_EQ(wideToString(L"abc"), "abc");

    wchar_t* w = stringToWide("Problem \xe9");
    EXPECT_EQ(std::wcslen(w), 9u);
    EXPECT_EQ(w[0], L'P');
    EXPECT_EQ(w[8], static_cast<wchar_t>(0xe9));
    delete[] w;
}

TEST(Helpers, FileExistsOnlyForReadableFiles) {
    char dir[] = "/tmp/cubist-helpers-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string file = std::string(dir) + "/present.txt";
    std::FILE* f = std::fopen(file.c_str(), "w");
    std::fclose(f);
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(dir));
    EXPECT_FALSE(fileExists(std::string(dir) + "/missing.txt"));
    std::remove(file.c_str());
    rmdir(dir);
}

TEST(Helpers, TimeMsFollowsTheWallClock) {
    int32_t first = getTimeMs();
    EXPECT_GE(first, 0);
    platform::sleepMilliseconds(300);
    int32_t later = getTimeMs();
    EXPECT_GE(later - first, 300);
    EXPECT_LT(later - first, 2000);
}
