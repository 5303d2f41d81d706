#pragma once
// The world file, field by field: every integer and float is 32-bit little-endian, records follow
// each other without padding. Reading checks each field against what the file still holds, so a
// damaged file ends in a report naming it instead of a crash or a huge allocation.
#include "BasicVector.h"

#include <cstdio>
#include <string>
#include <vector>

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
    size_t bytesLeft() const { return bytes.size() - position; }
    [[noreturn]] void fail(const std::string& what) const;

    std::string name;

private:
    std::vector<unsigned char> bytes;  // the rest of the file, read at once
    size_t position;
};

// Collects the bytes and writes them in one go with flush().
class WorldFileWriter {
public:
    explicit WorldFileWriter(FILE* file) : file(file) {}
    void writeInt(int32_t v);
    void writeFloat(float v);
    void writeFloat3(const Float3& v);
    void writeInt3(const Int3& v);
    void writeBytes(const void* data, size_t n);
    // True when every byte reached the file.
    bool flush();

    FILE* file;

private:
    std::vector<unsigned char> bytes;
};

CubeType* readCubeType(WorldFileReader& in);
void writeCubeType(WorldFileWriter& out, const CubeType& type);
// The regions of the file are added to what the table's regions hold, growing it as needed.
void readRegions(WorldFileReader& in, WorldIndexator& table);
void writeRegions(WorldFileWriter& out, const WorldIndexator& table);
