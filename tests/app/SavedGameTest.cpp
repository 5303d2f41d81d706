#include "Engine.h"
#include "SavedGame.h"
#include "ScriptState.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// Saved-game bytes in and out through a temporary file.
class SavedGameTest : public testing::Test {
protected:
    void SetUp() override { globalVars.clear(); }
    void TearDown() override { globalVars.clear(); }

    static std::string save() {
        FILE* f = std::tmpfile();
        saveGameFile(f);
        std::string bytes(static_cast<size_t>(std::ftell(f)), '\0');
        std::rewind(f);
        size_t n = std::fread(&bytes[0], 1, bytes.size(), f);
        bytes.resize(n);
        std::fclose(f);
        return bytes;
    }
    static void load(const std::string& bytes) {
        FILE* f = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::rewind(f);
        loadGameFile(f);
        std::fclose(f);
    }
    static std::string u32(uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    }
};

TEST_F(SavedGameTest, VariablesInNameOrder) {
    EXPECT_EQ(save(), u32(0));  // with the 24-byte player record: 28 bytes
    globalVars["b"] = 2;
    globalVars["a"] = 1;
    globalVars["ab"] = -3;
    const std::string expected = u32(3) + u32(1) + "a" + u32(1) + u32(2) + "ab" + u32(-3) + u32(1) + "b" + u32(2);
    EXPECT_EQ(save(), expected);

    globalVars.clear();
    globalVars["stale"] = 9;
    load(expected);
    EXPECT_EQ(globalVars, (std::map<std::string, int32_t>{{"a", 1}, {"ab", -3}, {"b", 2}}));
}

TEST_F(SavedGameTest, DamagedFilesKeepWhatWasRead) {
    struct Case {
        const char* what;
        std::string bytes;
        std::map<std::string, int32_t> expected;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"same name twice keeps the later", u32(2) + u32(1) + "x" + u32(1) + u32(1) + "x" + u32(7), {{"x", 7}}},
        {"missing value", u32(1) + u32(3) + "key", {{"key", -1}}},
        {"missing records", u32(3) + u32(1) + "k" + u32(5), {{"k", 5}, {"", -1}}},
        {"name stops at a zero byte", u32(1) + u32(3) + std::string("a\0b", 3) + u32(4), {{"a", 4}}},
        {"name longer than the file", u32(1) + u32(0xFFFFFFFF) + "abc", {{"abc", -1}}},
        {"huge count", u32(0xFFFFFFFF) + u32(1) + "z" + u32(8), {{"z", 8}, {"", -1}}},
    };
    for (const Case& c : cases) {
        load(c.bytes);
        EXPECT_EQ(globalVars, c.expected) << c.what;
    }
}

TEST(Statistics, OverlayText) {
    EXPECT_EQ(statisticsText(10000, 120, 10345, 77),
              "FPS: 100\nTotal: 10000\nTime swap buffers:120\nTime loopEvent:10345\nTime manage:77\n");
    EXPECT_EQ(statisticsText(200000, 0, 0, 0).substr(0, 8), "FPS: 5\nT");
    EXPECT_EQ(statisticsText(16667, 0, 0, 0).substr(0, 13), "FPS: 59.9988\n");
}
