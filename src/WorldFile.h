#pragma once
// The world file, field by field: every integer and float is 32-bit little-endian, records follow
// each other without padding. Reading checks each field against what the file still holds, so a
// damaged file ends in a report naming it instead of a crash or a huge allocation.
#include "BasicVector.h"

#include <cstdio>
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
    [[noreturn]] void fail(const std::string& what) const;

    FILE* file;
    std::string name;

private:
    long left;  // bytes not yet read
};

class WorldFileWriter {
public:
    explicit WorldFileWriter(FILE* file) : file(file) {}
    void writeInt(int32_t v);
    void writeFloat(float v);
    void writeFloat3(const Float3& v);
    void writeInt3(const Int3& v);
    void writeBytes(const void* data, size_t n);
    bool failed() const { return std::ferror(file) != 0; }

    FILE* file;
};

CubeType* readCubeType(WorldFileReader& in);
void writeCubeType(WorldFileWriter& out, const CubeType& type);
// The regions of the file are added to what the table's regions hold, growing it as needed.
void readRegions(WorldFileReader& in, WorldIndexator& table);
void writeRegions(WorldFileWriter& out, const WorldIndexator& table);
