#include "WorldFile.h"
#include "CubeType.h"
#include "CubeZone.h"
#include "CustomObject.h"
#include "ErrorReport.h"
#include "Helpers.h"
#include "Region.h"
#include "WorldIndexator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// Smallest records, for checking counts against the bytes left.
static const size_t MIN_ZONE_BYTES = 12 + 12 + 4 + 4 + 6 * 4;
static const size_t OBJECT_BYTES = 12 + 4;
static const size_t POINT_BYTES = 12;
// Region indices a file may name: far inside the range where table arithmetic cannot overflow.
static const int32_t MAX_FILE_REGION_INDEX = 1 << 22;

static inline uint32_t decode32(const unsigned char* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

static inline void encode32(unsigned char* b, uint32_t u) {
    b[0] = static_cast<unsigned char>(u);
    b[1] = static_cast<unsigned char>(u >> 8);
    b[2] = static_cast<unsigned char>(u >> 16);
    b[3] = static_cast<unsigned char>(u >> 24);
}

static inline float bitsToFloat(uint32_t bits) {
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

WorldFileReader::WorldFileReader(FILE* file_, const std::string& name_)
    : name(name_), file(file_), window(new unsigned char[WINDOW]), windowPosition(0), windowEnd(0), position(0) {
    size = static_cast<size_t>(bytesLeftInFile(file));
}

void WorldFileReader::fail(const std::string& what) const { FATAL_ERROR("World file '" + name + "': " + what); }

const unsigned char* WorldFileReader::take(size_t n, const char* what) {
    if (n > bytesLeft()) fail(std::string("the file ends inside ") + what);
    if (windowEnd - windowPosition < n) {
        size_t kept = windowEnd - windowPosition;
        std::memmove(window.get(), window.get() + windowPosition, kept);
        size_t wanted = std::min(WINDOW - kept, size - position - kept);
        if (std::fread(window.get() + kept, 1, wanted, file) != wanted) fail("it cannot be read");
        windowPosition = 0;
        windowEnd = kept + wanted;
    }
    const unsigned char* p = window.get() + windowPosition;
    windowPosition += n;
    position += n;
    return p;
}

void WorldFileReader::readBytes(void* out, size_t n, const char* what) {
    if (n > bytesLeft()) fail(std::string("the file ends inside ") + what);
    unsigned char* to = static_cast<unsigned char*>(out);
    for (size_t piece; n > 0; n -= piece, to += piece) {
        piece = std::min(n, WINDOW);
        std::memcpy(to, take(piece, what), piece);
    }
}

int32_t WorldFileReader::readInt() { return static_cast<int32_t>(decode32(take(4, "a number"))); }

float WorldFileReader::readFloat() {
    float v = bitsToFloat(decode32(take(4, "a number")));
    if (!std::isfinite(v)) fail("a coordinate that is not a finite number");
    return v;
}

Float3 WorldFileReader::readFloat3() {
    const unsigned char* p = take(12, "a number");
    float x = bitsToFloat(decode32(p)), y = bitsToFloat(decode32(p + 4)), z = bitsToFloat(decode32(p + 8));
    if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(z))) fail("a coordinate that is not a finite number");
    return Float3(x, y, z);
}

void WorldFileReader::readFloat3s(Float3* out, size_t n) {
    if (n > bytesLeft() / 12) fail("the file ends inside a list of points");
    uint32_t largestExponent = 0;  // all ones for an infinity or a NaN
    for (size_t piece; n > 0; n -= piece, out += piece) {
        piece = std::min(n, WINDOW / 12);
        const unsigned char* p = take(piece * 12, "a list of points");
        for (size_t i = 0; i < piece; ++i)
            for (int axis = 0; axis < 3; ++axis, p += 4) {
                uint32_t bits = decode32(p);
                largestExponent = std::max(largestExponent, bits & 0x7f800000u);
                out[i][axis] = bitsToFloat(bits);
            }
    }
    if (largestExponent == 0x7f800000u) fail("a coordinate that is not a finite number");
}

Int3 WorldFileReader::readInt3() {
    const unsigned char* p = take(12, "a number");
    return Int3(static_cast<int32_t>(decode32(p)), static_cast<int32_t>(decode32(p + 4)),
                static_cast<int32_t>(decode32(p + 8)));
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
    for (size_t piece; n > 0; n -= piece) {
        piece = std::min(n, WINDOW);
        take(piece, "the extra bytes of a list");
    }
}

WorldFileWriter::WorldFileWriter(FILE* file_)
    : file(file_), window(new unsigned char[WINDOW]), windowEnd(0), failed(false) {}

void WorldFileWriter::writeWindow() {
    if (windowEnd > 0 && std::fwrite(window.get(), 1, windowEnd, file) != windowEnd) failed = true;
    windowEnd = 0;
}

unsigned char* WorldFileWriter::grow(size_t n) {
    if (WINDOW - windowEnd < n) writeWindow();
    unsigned char* p = window.get() + windowEnd;
    windowEnd += n;
    return p;
}

void WorldFileWriter::writeInt(int32_t v) { encode32(grow(4), static_cast<uint32_t>(v)); }

void WorldFileWriter::writeFloat(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    encode32(grow(4), bits);
}

void WorldFileWriter::writeFloat3(const Float3& v) {
    unsigned char* b = grow(12);
    for (int i = 0; i < 3; ++i, b += 4) {
        uint32_t bits;
        std::memcpy(&bits, &v[i], 4);
        encode32(b, bits);
    }
}

void WorldFileWriter::writeInt3(const Int3& v) {
    unsigned char* b = grow(12);
    for (int i = 0; i < 3; ++i, b += 4) encode32(b, static_cast<uint32_t>(v[i]));
}

void WorldFileWriter::writeBytes(const void* data, size_t n) {
    const unsigned char* from = static_cast<const unsigned char*>(data);
    for (size_t piece; n > 0; n -= piece, from += piece) {
        piece = std::min(n, WINDOW);
        std::memcpy(grow(piece), from, piece);
    }
}

bool WorldFileWriter::flush() {
    writeWindow();
    return !failed && std::fflush(file) == 0 && !std::ferror(file);
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

static void readZone(WorldFileReader& in, std::vector<CubeZone>& zones) {
    Float3 center = in.readFloat3();
    Float3 size = in.readFloat3();
    int32_t id = in.readInt();
    if (id < 0) in.fail("a zone of cube type " + std::to_string(id));
    zones.emplace_back(center, size, id);
    CubeZone& zone = zones.back();
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
        zone.shadowTriangles[face].resize(static_cast<size_t>(n));
        in.readFloat3s(zone.shadowTriangles[face].data(), static_cast<size_t>(n));
    }
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
                region->zones.reserve(region->zones.size() + static_cast<size_t>(zones));
                for (int32_t z = 0; z < zones; ++z) readZone(in, region->zones);
                skipExtra(in, extra);
                int32_t objects = in.readCount(OBJECT_BYTES, "object");
                extra = in.readCount(0, "extra length");
                region->objects.reserve(region->objects.size() + static_cast<size_t>(objects));
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
