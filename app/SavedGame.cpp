#include "SavedGame.h"
#include "Helpers.h"
#include "ScriptState.h"

#include <cstdint>
#include <cstring>
#include <vector>

static void writeUint32(FILE* file, uint32_t value) {
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    std::fwrite(bytes, 1, 4, file);
}

static bool readUint32(FILE* file, uint32_t& value) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) return false;
    value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

void saveGameFile(FILE* file) {
    writeUint32(file, static_cast<uint32_t>(globalVars.size()));
    for (const auto& entry : globalVars) {
        writeUint32(file, static_cast<uint32_t>(entry.first.size()));
        std::fwrite(entry.first.data(), 1, entry.first.size(), file);
        writeUint32(file, static_cast<uint32_t>(entry.second));
    }
}

void loadGameFile(FILE* file) {
    globalVars.clear();
    uint32_t count = 0;
    readUint32(file, count);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        bool complete = readUint32(file, length);
        // A length beyond the end of the file reads what is there, without allocating the rest.
        long left = bytesLeftInFile(file);
        size_t available = length <= static_cast<unsigned long>(left) ? length : static_cast<size_t>(left);
        std::vector<char> name(available + 1, '\0');
        complete = std::fread(name.data(), 1, available, file) == available && available == length && complete;
        uint32_t value = static_cast<uint32_t>(-1);
        complete = readUint32(file, value) && complete;
        globalVars[std::string(name.data())] = static_cast<int32_t>(value);
        // Past the end every further record reads as the empty name with -1: store it once.
        if (!complete && std::feof(file)) {
            if (i + 1 < count) globalVars[std::string()] = -1;
            break;
        }
    }
}
