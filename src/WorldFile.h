#pragma once
// The world file, field by field: every integer and float is 32-bit little-endian, records follow
// each other without padding. Reading checks each field against what the file still holds, so a
// damaged file ends in a report naming it instead of a crash or a huge allocation. Both ways
// stream through a small window that stays in cache.
#include "BasicVector.h"

#include <cstdio>
#include <memory>
#include <string>

class CubeType;
class CubeZone;
struct CustomObject;
class WorldIndexator;

class WorldFileReader {
public:
    WorldFileReader(FILE* file, const std::string& name);
    int32_t readInt();
    float readFloat();  // finite values only
    Float3 readFloat3();
    Int3 readInt3();
    void readBytes(void* out, size_t n, const char* what);
    // A count of items of at least itemBytes each that the rest of the file can hold.
    int32_t readCount(size_t itemBytes, const char* what);
    void skip(size_t n);
    // Reads n points of which the count was already checked; finite values only.
    void readFloat3s(Float3* out, size_t n);
    size_t bytesLeft() const { return size - position; }
    [[noreturn]] void fail(const std::string& what) const;

    std::string name;

private:
    // The next n bytes (at most WINDOW), after checking the file still holds them.
    const unsigned char* take(size_t n, const char* what);

    static const size_t WINDOW = 256 * 1024;  // stays in cache while it is decoded
    FILE* file;
    std::unique_ptr<unsigned char[]> window;
    size_t windowPosition, windowEnd;
    size_t size;      // the bytes left in the file when the reader was made
    size_t position;  // of those, how many were taken
};

// Passes the bytes to the file a window at a time; flush() says whether all of them got there.
class WorldFileWriter {
public:
    explicit WorldFileWriter(FILE* file);
    void writeInt(int32_t v);
    void writeFloat(float v);
    void writeFloat3(const Float3& v);
    void writeInt3(const Int3& v);
    void writeBytes(const void* data, size_t n);
    // True when every byte reached the file.
    bool flush();

    FILE* file;

private:
    // Room for n bytes (at most WINDOW) at the end of the window.
    unsigned char* grow(size_t n);
    void writeWindow();

    static const size_t WINDOW = 256 * 1024;
    std::unique_ptr<unsigned char[]> window;
    size_t windowEnd;
    bool failed;
};

CubeType* readCubeType(WorldFileReader& in);
void writeCubeType(WorldFileWriter& out, const CubeType& type);
// The regions of the file are added to what the table's regions hold, growing it as needed.
void readRegions(WorldFileReader& in, WorldIndexator& table);
void writeRegions(WorldFileWriter& out, const WorldIndexator& table);
