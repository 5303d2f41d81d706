#include "WorldFile.h"
#include "CubeType.h"
#include "CubeZone.h"
#include "CustomObject.h"
#include "ErrorReport.h"
#include "Helpers.h"
#include "Region.h"
#include "WorldIndexator.h"

#include <cmath>
#include <cstring>
#include <vector>

// Smallest records, for checking counts against the bytes left.
static const size_t MIN_ZONE_BYTES = 12 + 12 + 4 + 4 + 6 * 4;
static const size_t OBJECT_BYTES = 12 + 4;
static const size_t POINT_BYTES = 12;
// Region indices a file may name: far inside the range where table arithmetic cannot overflow.
static const int32_t MAX_FILE_REGION_INDEX = 1 << 22;

WorldFileReader::WorldFileReader(FILE* file, const std::string& name_) : name(name_), position(0) {
    bytes.resize(static_cast<size_t>(bytesLeftInFile(file)));
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) fail("it cannot be read");
}

void WorldFileReader::fail(const std::string& what) const { FATAL_ERROR("World file '" + name + "': " + what); }

void WorldFileReader::readBytes(void* out, size_t n, const char* what) {
    if (n > bytesLeft()) fail(std::string("the file ends inside ") + what);
    if (n > 0) std::memcpy(out, &bytes[position], n);
    position += n;
}

int32_t WorldFileReader::readInt() {
    unsigned char b[4];
    readBytes(b, 4, "a number");
    return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

float WorldFileReader::readFloat() {
    int32_t bits = readInt();
    float v;
    std::memcpy(&v, &bits, 4);
    if (!std::isfinite(v)) fail("a coordinate that is not a finite number");
    return v;
}

Float3 WorldFileReader::readFloat3() {
    float x = readFloat(), y = readFloat(), z = readFloat();
    return Float3(x, y, z);
}

Int3 WorldFileReader::readInt3() {
    int32_t x = readInt(), y = readInt(), z = readInt();
    return Int3(x, y, z);
}

int32_t WorldFileReader::readCount(size_t itemBytes, const char* what) {
    int32_t count = readInt();
    if (count < 0) fail(std::string("negative ") + what + " count " + std::to_string(count));
    if (itemBytes > 0 && static_cast<uint64_t>(count) * itemBytes > bytesLeft())
        fail(std::string(what) + " count " + std::to_string(count) + " exceeds the " + std::to_string(bytesLeft()) +
             " bytes left");
    return count;
}

void WorldFileReader::skip(size_t n) {
    if (n > bytesLeft()) fail("the file ends inside the extra bytes of a list");
    position += n;
}

void WorldFileWriter::writeInt(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                          static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    writeBytes(b, 4);
}

void WorldFileWriter::writeFloat(float v) {
    int32_t bits;
    std::memcpy(&bits, &v, 4);
    writeInt(bits);
}

void WorldFileWriter::writeFloat3(const Float3& v) {
    for (int i = 0; i < 3; ++i) writeFloat(v[i]);
}

void WorldFileWriter::writeInt3(const Int3& v) {
    for (int i = 0; i < 3; ++i) writeInt(v[i]);
}

void WorldFileWriter::writeBytes(const void* data, size_t n) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), p, p + n);
}

bool WorldFileWriter::flush() {
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    bytes.clear();
    return written && std::fflush(file) == 0 && !std::ferror(file);
}

CubeType* readCubeType(WorldFileReader& in) {
    std::string names[NB_CUBE_FACES];
    for (std::string& name : names) {
        int32_t length = in.readCount(1, "face name length");
        name.resize(static_cast<size_t>(length));
        if (length > 0) in.readBytes(&name[0], static_cast<size_t>(length), "a face name");
    }
    unsigned char flags[4];
    in.readBytes(flags, 4, "the flags of a cube type");
    const bool repeat[3] = {flags[0] != 0, flags[1] != 0, flags[2] != 0};
    return new CubeType(names, repeat, flags[3] != 0);
}

void writeCubeType(WorldFileWriter& out, const CubeType& type) {
    for (const std::string& name : type.faceTextureNames) {
        out.writeInt(static_cast<int32_t>(name.size()));
        out.writeBytes(name.data(), name.size());
    }
    const unsigned char flags[4] = {type.textureRepeat[0], type.textureRepeat[1], type.textureRepeat[2],
                                    type.isCollidable};
    out.writeBytes(flags, 4);
}

static CubeZone readZone(WorldFileReader& in) {
    Float3 center = in.readFloat3();
    Float3 size = in.readFloat3();
    int32_t id = in.readInt();
    if (id < 0) in.fail("a zone of cube type " + std::to_string(id));
    CubeZone zone(center, size, id);
    zone.reserved = in.readInt();
    for (int face = 0; face < NB_SHADOW_FACES; ++face) {
        int32_t n = in.readInt();
        if (n == -1) {
            zone.faceShadowed[face] = true;
            continue;
        }
        if (n < -1) in.fail("shadow point count " + std::to_string(n));
        if (static_cast<uint64_t>(n) * POINT_BYTES > in.bytesLeft())
            in.fail("shadow point count " + std::to_string(n) + " exceeds what the file holds");
        zone.shadowTriangles[face].reserve(static_cast<size_t>(n));
        for (int32_t p = 0; p < n; ++p) zone.shadowTriangles[face].push_back(in.readFloat3());
    }
    return zone;
}

static void writeZone(WorldFileWriter& out, const CubeZone& zone) {
    out.writeFloat3(zone.center);
    out.writeFloat3(zone.size);
    out.writeInt(zone.id);
    out.writeInt(zone.reserved);
    for (int face = 0; face < NB_SHADOW_FACES; ++face) {
        if (zone.faceShadowed[face]) {
            out.writeInt(-1);
            continue;
        }
        out.writeInt(static_cast<int32_t>(zone.shadowTriangles[face].size()));
        for (const Float3& p : zone.shadowTriangles[face]) out.writeFloat3(p);
    }
}

static void skipExtra(WorldFileReader& in, int32_t extra) {
    if (extra > 0) in.skip(static_cast<size_t>(extra));
}

void readRegions(WorldFileReader& in, WorldIndexator& table) {
    const Int3 fileMin = in.readInt3();
    const Int3 fileSize = in.readInt3();
    for (int axis = 0; axis < 3; ++axis) {
        if (fileSize[axis] <= 0) in.fail("region table size " + std::to_string(fileSize[axis]) + " is not positive");
        if (fileMin[axis] < -MAX_FILE_REGION_INDEX || fileMin[axis] > MAX_FILE_REGION_INDEX ||
            fileSize[axis] > MAX_FILE_REGION_INDEX)
            in.fail("region index " + std::to_string(fileMin[axis]) + " or size " + std::to_string(fileSize[axis]) +
                    " is out of range");
    }
    if (static_cast<int64_t>(fileSize.x()) * fileSize.y() * fileSize.z() > MAX_TABLE_REGIONS)
        in.fail("its region table is larger than the engine's limit of " + std::to_string(MAX_TABLE_REGIONS) +
                " regions");
    if (!(fileMin >= table.minIndex)) table.growToInclude(fileMin);
    const Int3 fileMax = fileMin + fileSize - Int3(1, 1, 1);
    if (!(fileMax <= table.minIndex + table.tableRegionSize - Int3(1, 1, 1))) table.growToInclude(fileMax);
    for (int i = 0; i < fileSize.x(); ++i)
        for (int j = 0; j < fileSize.y(); ++j)
            for (int k = 0; k < fileSize.z(); ++k) {
                Region* region = table.getRegion(fileMin + Int3(i, j, k) - table.minIndex);
                region->discardBatch();
                int32_t zones = in.readCount(MIN_ZONE_BYTES, "zone");
                int32_t extra = in.readCount(0, "extra length");
                for (int32_t z = 0; z < zones; ++z) region->zones.push_back(readZone(in));
                skipExtra(in, extra);
                int32_t objects = in.readCount(OBJECT_BYTES, "object");
                extra = in.readCount(0, "extra length");
                for (int32_t o = 0; o < objects; ++o) {
                    CustomObject object;
                    object.position = in.readFloat3();
                    object.id = in.readInt();
                    region->objects.push_back(object);
                }
                skipExtra(in, extra);
            }
}

void writeRegions(WorldFileWriter& out, const WorldIndexator& table) {
    out.writeInt3(table.minIndex);
    out.writeInt3(table.tableRegionSize);
    for (int i = 0; i < table.tableRegionSize.x(); ++i)
        for (int j = 0; j < table.tableRegionSize.y(); ++j)
            for (int k = 0; k < table.tableRegionSize.z(); ++k) {
                const Region* region = table.getRegion(Int3(i, j, k));
                out.writeInt(static_cast<int32_t>(region->zones.size()));
                out.writeInt(0);
                for (const CubeZone& zone : region->zones) writeZone(out, zone);
                out.writeInt(static_cast<int32_t>(region->objects.size()));
                out.writeInt(0);
                for (const CustomObject& object : region->objects) {
                    out.writeFloat3(object.position);
                    out.writeInt(object.id);
                }
            }
}
