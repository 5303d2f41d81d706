#include "SoundManager.h"
#include "Sound_OpenAL.h"
#include "TempFolder.h"
#include "platform/Platform.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// 16-bit mono PCM WAV of a sine tone.
void writeTone(const std::string& path, double seconds, double amplitude) {
    const int rate = 22050;
    const int samples = static_cast<int>(rate * seconds);
    auto u32 = [](uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    auto u16 = [](uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    std::string data;
    for (int i = 0; i < samples; ++i)
        data +=
            u16(static_cast<uint16_t>(static_cast<int16_t>(amplitude * 32767 * std::sin(i * 2 * M_PI * 440 / rate))));
    std::string wav = "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) +
                      u32(rate * 2) + u16(2) + u16(16) + "data" + u32(data.size()) + data;
    std::ofstream(path, std::ios::binary) << wav;
}

bool waitUntil(Sound_Abstract* sound, bool playing, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
        if (sound->isPlaying() == playing) return true;
        platform::sleepMilliseconds(10);
    }
    return sound->isPlaying() == playing;
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        writeTone("tone.wav", 0.2, 0.5);
        manager = new SoundManager("cubist-tests");
    }
    void TearDown() override { delete manager; }
    TempFolder folder;
    SoundManager* manager = nullptr;
};

}  // namespace

TEST_F(SoundTest, OneSoundPerName) {
    Sound_Abstract* first = manager->getSound("tone.wav");
    EXPECT_EQ(manager->getSound("tone.wav"), first);
    EXPECT_EQ(manager->sounds.size(), 1u);
    Sound_OpenAL* sound = dynamic_cast<Sound_OpenAL*>(first);
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(alIsSource(sound->source));
    EXPECT_TRUE(alIsBuffer(sound->buffer));
    EXPECT_NE(manager->getSound("./tone.wav"), first);  // names are compared as written
}

TEST_F(SoundTest, PlayingStates) {
    Sound_Abstract* sound = manager->getSound("tone.wav");
    EXPECT_FALSE(sound->isPlaying());  // never played
    sound->play(false);
    EXPECT_TRUE(sound->isPlaying());
    EXPECT_TRUE(waitUntil(sound, false, 3000));  // a 0.2 s tone ends

    // Playing again while playing restarts from the beginning.
    ALuint source = dynamic_cast<Sound_OpenAL*>(sound)->source;
    sound->play(false);
    platform::sleepMilliseconds(120);
    ALint before = 0, after = 0;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &before);
    sound->play(false);
    alGetSourcei(source, AL_SAMPLE_OFFSET, &after);
    EXPECT_GT(before, 0);
    EXPECT_LT(after, before);
    sound->play(true);  // waits for the end
    EXPECT_FALSE(sound->isPlaying());
}

TEST_F(SoundTest, MissingFileIsSilent) {
    Sound_Abstract* sound = manager->getSound("sound/none.wav");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(dynamic_cast<Sound_OpenAL*>(sound)->buffer, 0u);
    sound->play(false);
    EXPECT_TRUE(waitUntil(sound, false, 1000));
}

// OpenAL Soft's wave back end writes what it mixes into a file: the tone must be in it.
TEST(SoundOutputDeathTest, PlayedToneReachesTheDevice) {
    EXPECT_EXIT(
        {
            TempFolder folder;
            const std::string out = folder.path() + "/out.wav";
            std::ofstream("alsoft.conf") << "[general]\ndrivers=wave\n[wave]\nfile=" << out << "\n";
            setenv("ALSOFT_CONF", (folder.path() + "/alsoft.conf").c_str(), 1);
            unsetenv("ALSOFT_DRIVERS");
            writeTone("tone.wav", 0.3, 0.5);
            SoundManager* manager = new SoundManager("cubist-tests");
            manager->getSound("tone.wav")->play(true);
            platform::sleepMilliseconds(200);
            delete manager;
            std::ifstream in(out, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // Find the loudest sample past the header, whatever the device's sample format.
            int loudest = 0;
            for (size_t i = 44; i + 1 < bytes.size(); i += 2) {
                int v = static_cast<int16_t>(static_cast<unsigned char>(bytes[i]) | (bytes[i + 1] << 8));
                loudest = std::max(loudest, std::abs(v));
            }
            std::exit(bytes.size() > 1000 && loudest > 3000 ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}
