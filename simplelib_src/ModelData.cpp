#include "ModelData.h"
#include "ErrorReport.h"
#include "Geometry.h"
#include "Image.h"
#include "Sprite.h"
#include "SpriteManager.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const size_t MODEL_TOKEN_BUFFER = 128;     // characters, terminator included
const size_t MATERIAL_TOKEN_BUFFER = 512;  // characters, terminator included

// Lines of a text file without their line end (a carriage return before it goes too).
struct LineReader {
    FILE* file;
    int lineNumber = 0;

    bool next(std::string& line) {
        line.clear();
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') line += static_cast<char>(c);
        if (c == EOF && line.empty()) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNumber;
        return true;
    }
    void rewind() {
        std::rewind(file);
        lineNumber = 0;
    }
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\n' || c == '\r'; }

// The first whitespace-separated token of a line, cut to what the reader's buffer holds, and
// the position just after it.
std::string firstToken(const std::string& line, size_t bufferSize, size_t& after) {
    size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    size_t end = start;
    while (end < line.size() && !isBlank(line[end])) ++end;
    after = end;
    return line.substr(start, std::min(end - start, bufferSize - 1));
}

// The rest of a line as a fixed-size line buffer reads it: the line end included, cut to the
// buffer.
std::string restOfLine(const std::string& line, size_t after, size_t bufferSize) {
    std::string rest = line.substr(after) + "\n";
    if (rest.size() > bufferSize - 1) rest.resize(bufferSize - 1);
    return rest;
}

std::string firstWord(const std::string& text) {
    size_t dummy;
    return firstToken(text, text.size() + 1, dummy);
}

enum FaceForm { FACE_V, FACE_VT, FACE_VN, FACE_VTN };

struct Corner {
    int v = 0, t = 0, n = 0;
};

// Corners of a face line in the form of its first corner; reading stops at the first corner
// that does not match that form.
std::vector<Corner> faceCorners(const std::string& rest, FaceForm& form) {
    std::vector<Corner> corners;
    size_t pos = 0;
    bool first = true;
    for (;;) {
        while (pos < rest.size() && (isBlank(rest[pos]) || rest[pos] == '\n')) ++pos;
        if (pos >= rest.size()) break;
        size_t end = pos;
        while (end < rest.size() && !isBlank(rest[end]) && rest[end] != '\n') ++end;
        std::string token = rest.substr(pos, end - pos);
        pos = end;
        Corner c;
        if (first) {
            first = false;
            if (token.find("//") != std::string::npos)
                form = FACE_VN;
            else if (std::sscanf(token.c_str(), "%d/%d/%d", &c.v, &c.t, &c.n) == 3)
                form = FACE_VTN;
            else if (std::sscanf(token.c_str(), "%d/%d", &c.v, &c.t) == 2)
                form = FACE_VT;
            else
                form = FACE_V;
        }
        bool read = false;
        switch (form) {
            case FACE_VN: read = std::sscanf(token.c_str(), "%d//%d", &c.v, &c.n) == 2; break;
            case FACE_VTN: read = std::sscanf(token.c_str(), "%d/%d/%d", &c.v, &c.t, &c.n) == 3; break;
            case FACE_VT: read = std::sscanf(token.c_str(), "%d/%d", &c.v, &c.t) == 2; break;
            case FACE_V: read = std::sscanf(token.c_str(), "%d", &c.v) == 1; break;
        }
        if (!read) break;
        corners.push_back(c);
    }
    return corners;
}

[[noreturn]] void modelFileError(const ModelData* model, int line, const std::string& what) {
    FATAL_ERROR("OBJ file '" + model->pathname + "' line " + std::to_string(line) + ": " + what);
}

void checkIndex(const ModelData* model, int line, const char* what, int index, uint32_t count) {
    if (index < 1 || static_cast<uint32_t>(index) > count)
        modelFileError(
            model, line,
            std::string(what) + " index " + std::to_string(index) + " is outside 1.." + std::to_string(count));
}

ModelGroup* addGroup(ModelData* model, const std::string& name) {
    ModelGroup* group = findGroup(model, name);
    if (group) return group;
    group = new ModelGroup{name, 0, {}, 0, model->groups};
    model->groups = group;
    ++model->numgroups;
    return group;
}

void glmFirstPass(ModelData* model, LineReader& reader) {
    ModelGroup* group = addGroup(model, "default");
    std::string line;
    while (reader.next(line)) {
        size_t after;
        std::string token = firstToken(line, MODEL_TOKEN_BUFFER, after);
        if (token.empty()) continue;
        switch (token[0]) {
            case 'f': {
                FaceForm form;
                std::vector<Corner> corners = faceCorners(line.substr(after), form);
                if (corners.size() < 3) modelFileError(model, reader.lineNumber, "a face needs three corners");
                model->numtriangles += static_cast<uint32_t>(corners.size() - 2);
                group->numtriangles += static_cast<uint32_t>(corners.size() - 2);
                break;
            }
            case 'g': {
                std::string rest = restOfLine(line, after, MODEL_TOKEN_BUFFER);
                rest.pop_back();
                group = addGroup(model, rest);
                break;
            }
            case 'm':
                model->materialLibraryName = firstWord(restOfLine(line, after, MODEL_TOKEN_BUFFER));
                glmReadMTL(model->materialLibraryName, model);
                break;
            case 'v':
                if (token.size() == 1)
                    ++model->numvertices;
                else if (token[1] == 'n')
                    ++model->numnormals;
                else if (token[1] == 't')
                    ++model->numtexcoords;
                else {
                    std::printf("glmFirstPass(): Unknown token \"%s\".\n", token.c_str());
                    std::fflush(stdout);
                    std::exit(1);
                }
                break;
            default: break;
        }
    }
    for (ModelGroup* g = model->groups; g; g = g->next) {
        g->triangles.reserve(g->numtriangles);
        g->numtriangles = 0;
    }
}

bool readFloats(const std::string& text, int count, float* out) {
    if (count == 2) return std::sscanf(text.c_str(), "%f %f", &out[0], &out[1]) == 2;
    return std::sscanf(text.c_str(), "%f %f %f", &out[0], &out[1], &out[2]) == 3;
}

void readSecondPass(ModelData* model, LineReader& reader) {
    ModelGroup* group = findGroup(model, "default");
    uint32_t material = 0;
    uint32_t nv = 0, nn = 0, nt = 0, ntri = 0;
    std::string line;
    while (reader.next(line)) {
        size_t after;
        std::string token = firstToken(line, MODEL_TOKEN_BUFFER, after);
        if (token.empty()) continue;
        const std::string rest = line.substr(after);
        switch (token[0]) {
            case 'v': {
                float f[3] = {0.f, 0.f, 0.f};
                if (token.size() == 1) {
                    readFloats(rest, 3, f);
                    model->vertices[++nv] = Float3(f[0], f[1], f[2]);
                } else if (token[1] == 'n') {
                    readFloats(rest, 3, f);
                    model->normals[++nn] = Float3(f[0], f[1], f[2]);
                } else if (token[1] == 't') {
                    readFloats(rest, 2, f);
                    model->texcoords[++nt] = Float2(f[0], 1.f - f[1]);
                }
                break;
            }
            case 'f': {
                FaceForm form;
                std::vector<Corner> corners = faceCorners(rest, form);
                for (const Corner& c : corners) {
                    checkIndex(model, reader.lineNumber, "vertex", c.v, model->numvertices);
                    if (form == FACE_VT || form == FACE_VTN)
                        checkIndex(model, reader.lineNumber, "texture coordinate", c.t, model->numtexcoords);
                    if (form == FACE_VN || form == FACE_VTN)
                        checkIndex(model, reader.lineNumber, "normal", c.n, model->numnormals);
                }
                // A fan from the first corner: (first, previous third, next).
                ModelTriangle triangle = {};
                for (size_t k = 0; k < 3; ++k) {
                    triangle.vindices[k] = corners[k].v;
                    triangle.tindices[k] = corners[k].t;
                    triangle.nindices[k] = corners[k].n;
                }
                model->triangles[ntri] = triangle;
                group->triangles.push_back(ntri++);
                ++group->numtriangles;
                for (size_t k = 3; k < corners.size(); ++k) {
                    ModelTriangle next = {};
                    const ModelTriangle& previous = model->triangles[ntri - 1];
                    for (int part = 0; part < 2; ++part) {
                        int from = part == 0 ? 0 : 2;
                        next.vindices[part] = previous.vindices[from];
                        next.tindices[part] = previous.tindices[from];
                        next.nindices[part] = previous.nindices[from];
                    }
                    next.vindices[2] = corners[k].v;
                    next.tindices[2] = corners[k].t;
                    next.nindices[2] = corners[k].n;
                    model->triangles[ntri] = next;
                    group->triangles.push_back(ntri++);
                    ++group->numtriangles;
                }
                break;
            }
            case 'g': {
                std::string name = restOfLine(line, after, MODEL_TOKEN_BUFFER);
                name.pop_back();
                group = findGroup(model, name);
                group->material = material;
                break;
            }
            case 'u':
                material = glmFindMaterial(model, firstWord(restOfLine(line, after, MODEL_TOKEN_BUFFER)));
                group->material = material;
                break;
            default: break;
        }
    }
}

ModelMaterial defaultMaterial(const std::string& name) {
    ModelMaterial m;
    m.name = name;
    const float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.f}, ambient[4] = {0.2f, 0.2f, 0.2f, 1.f},
                specular[4] = {0.f, 0.f, 0.f, 1.f};
    std::memcpy(m.diffuse, diffuse, sizeof diffuse);
    std::memcpy(m.ambient, ambient, sizeof ambient);
    std::memcpy(m.specular, specular, sizeof specular);
    m.shininess = 65.f;
    m.texture = nullptr;
    m.textureScale[0] = m.textureScale[1] = m.textureScale[2] = 1.f;
    m.ambientMapSeen = false;
    return m;
}

void releaseMaterials(ModelData* model) {
    for (ModelMaterial& m : model->materials)
        if (m.texture) spriteManager->removeSprite(m.texture);
    model->materials.clear();
    model->nummaterials = 0;
}

// A map line's rest R (leading space and line end included): "-s u v w name" or " name".
void readTextureMap(ModelMaterial& m, const std::string& r) {
    size_t nameStart = 1;
    m.textureScale[0] = m.textureScale[1] = m.textureScale[2] = 1.f;
    if (r.size() >= 4 && r[1] == '-' && r[2] == 's' && r[3] == ' ') {
        size_t pos = 4;
        for (int i = 0; i < 3; ++i) {
            size_t end = r.find(' ', pos);
            if (end == std::string::npos) end = r.size() - 1;
            m.textureScale[i] = std::strtof(r.substr(pos, end - pos).c_str(), nullptr);
            pos = std::min(end + 1, r.size() - 1);
        }
        nameStart = pos;
    }
    std::string name = r.size() >= nameStart + 1 ? r.substr(nameStart, r.size() - 1 - nameStart) : std::string();
    if (m.texture) spriteManager->removeSprite(m.texture);
    m.texture = spriteManager->addSprite(name, 1);
}

// A zero vector stays zero instead of becoming NaN.
void normalizeOrZero(Float3& v) {
    if (v.x() == 0.f && v.y() == 0.f && v.z() == 0.f) return;
    normalize(v);
}

}  // namespace

ModelData* glmReadOBJ(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_MSG(file, "glmReadOBJ() failed: can't open data file:" + path);
    ModelData* model = new ModelData;
    model->pathname = path;
    LineReader reader{file};
    glmFirstPass(model, reader);
    model->vertices.assign(model->numvertices + 1, Float3(0.f, 0.f, 0.f));
    model->triangles.assign(model->numtriangles, ModelTriangle{});
    if (model->numnormals) model->normals.assign(model->numnormals + 1, Float3(0.f, 0.f, 0.f));
    if (model->numtexcoords) model->texcoords.assign(model->numtexcoords + 1, Float2(0.f, 0.f));
    reader.rewind();
    readSecondPass(model, reader);
    std::fclose(file);
    return model;
}

void glmReadMTL(const std::string& libraryName, ModelData* model) {
    size_t slash = model->pathname.rfind('/');
    std::string path =
        (slash == std::string::npos ? std::string() : model->pathname.substr(0, slash + 1)) + libraryName;
    FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_MSG(file, "glmReadMTL() failed: can't open material file \"" + path + "\".");
    LineReader reader{file};
    std::string line;
    uint32_t count = 1;
    while (reader.next(line)) {
        size_t after;
        std::string token = firstToken(line, MATERIAL_TOKEN_BUFFER, after);
        if (!token.empty() && token[0] == 'n') ++count;
    }
    releaseMaterials(model);
    model->materials.assign(count, defaultMaterial(""));
    model->materials[0].name = "default";
    model->nummaterials = count;

    reader.rewind();
    uint32_t current = 0, named = 0;
    while (reader.next(line)) {
        size_t after;
        std::string token = firstToken(line, MATERIAL_TOKEN_BUFFER, after);
        if (token.empty()) continue;
        ModelMaterial& m = model->materials[current];
        const std::string rest = restOfLine(line, after, MATERIAL_TOKEN_BUFFER);
        switch (token[0]) {
            case 'K':
                if (token.size() > 1 && token[1] == 'a')
                    readFloats(rest, 3, m.ambient);
                else if (token.size() > 1 && token[1] == 'd')
                    readFloats(rest, 3, m.diffuse);
                else if (token.size() > 1 && token[1] == 's')
                    readFloats(rest, 3, m.specular);
                break;
            case 'N': {
                float value = m.shininess;
                std::sscanf(rest.c_str(), "%f", &value);
                m.shininess = value;
                m.shininess = static_cast<float>(m.shininess / 1000.0);
                m.shininess = static_cast<float>(m.shininess * 128.0);
                break;
            }
            case 'n':
                // The first pass counted every such line, so the index stays inside the array.
                if (named + 1 < count) current = ++named;
                model->materials[current].name = firstWord(rest);
                break;
            case 'm':
                if (token == "map_Ka")
                    m.ambientMapSeen = true;
                else if (m.ambientMapSeen)
                    break;  // map_Ka wins over every other map
                readTextureMap(m, rest);
                break;
            default: break;
        }
    }
    std::fclose(file);
}

uint32_t glmFindMaterial(ModelData* model, const std::string& name) {
    for (uint32_t i = 0; i < model->nummaterials; ++i)
        if (model->materials[i].name == name) return i;
    std::printf("glmFindMaterial():  can't find material \"%s\".\n", name.c_str());
    return 0;
}

ModelGroup* findGroup(ModelData* model, const std::string& name) {
    for (ModelGroup* g = model->groups; g; g = g->next)
        if (g->name == name) return g;
    return nullptr;
}

void scaleModel(ModelData* model, float factor) {
    for (uint32_t i = 1; i <= model->numvertices; ++i)
        for (int c = 0; c < 3; ++c) model->vertices[i][c] *= factor;
}

void computeFacetNormals(ModelData* model) {
    model->numfacetnorms = model->numtriangles;
    model->facetnorms.assign(model->numtriangles + 1, Float3(0.f, 0.f, 0.f));
    for (uint32_t i = 0; i < model->numtriangles; ++i) {
        ModelTriangle& t = model->triangles[i];
        const Float3& a = model->vertices[t.vindices[0]];
        Float3 n = cross(model->vertices[t.vindices[1]] - a, model->vertices[t.vindices[2]] - a);
        normalizeOrZero(n);
        model->facetnorms[i + 1] = n;
        t.findex = i + 1;
    }
}

void glmVertexNormals(ModelData* model, float angleDegrees) {
    const float c = static_cast<float>(std::cos(angleDegrees * M_PI / 180.0));
    // Triangles of each vertex, the last in file order first.
    std::vector<std::vector<uint32_t>> members(model->numvertices + 1);
    for (uint32_t i = model->numtriangles; i-- > 0;)
        for (int k = 0; k < 3; ++k) {
            std::vector<uint32_t>& list = members[model->triangles[i].vindices[k]];
            if (list.empty() || list.back() != i) list.push_back(i);
        }
    std::vector<Float3> normals(1, Float3(0.f, 0.f, 0.f));
    auto setCorner = [&](uint32_t triangle, uint32_t vertex, uint32_t normal) {
        for (int k = 0; k < 3; ++k)
            if (model->triangles[triangle].vindices[k] == vertex) model->triangles[triangle].nindices[k] = normal;
    };
    for (uint32_t v = 1; v <= model->numvertices; ++v) {
        const std::vector<uint32_t>& list = members[v];
        if (list.empty()) {
            std::fprintf(stderr, "glmVertexNormals(): vertex w/o a triangle\n");
            continue;
        }
        const Float3& reference = model->facetnorms[model->triangles[list[0]].findex];
        std::vector<bool> averaged(list.size());
        Float3 sum(0.f, 0.f, 0.f);
        for (size_t i = 0; i < list.size(); ++i) {
            const Float3& n = model->facetnorms[model->triangles[list[i]].findex];
            averaged[i] = dot(n, reference) > c;
            if (averaged[i]) sum += n;
        }
        normalizeOrZero(sum);
        const uint32_t average = static_cast<uint32_t>(normals.size());
        normals.push_back(sum);
        for (size_t i = 0; i < list.size(); ++i) {
            if (averaged[i]) {
                setCorner(list[i], v, average);
            } else {
                setCorner(list[i], v, static_cast<uint32_t>(normals.size()));
                normals.push_back(model->facetnorms[model->triangles[list[i]].findex]);
            }
        }
    }
    model->normals = normals;
    model->numnormals = static_cast<uint32_t>(normals.size() - 1);
}

void weldModel(ModelData* model, float tolerance) {
    std::vector<Float3> unique(1, Float3(0.f, 0.f, 0.f));
    std::vector<uint32_t> map(model->numvertices + 1, 0);
    for (uint32_t i = 1; i <= model->numvertices; ++i) {
        uint32_t found = 0;
        for (uint32_t j = 1; j < unique.size() && !found; ++j)
            if (nearlyEqual(unique[j], model->vertices[i], tolerance)) found = j;
        if (!found) {
            found = static_cast<uint32_t>(unique.size());
            unique.push_back(model->vertices[i]);
        }
        map[i] = found;
    }
    for (ModelTriangle& t : model->triangles)
        for (uint32_t& index : t.vindices) index = map[index];
    model->vertices = unique;
    model->numvertices = static_cast<uint32_t>(unique.size() - 1);
}

void glmDraw(ModelData* model) {
    bool smooth = true, textured = true, withMaterials = true;
    if (model->numnormals == 0) {
        std::printf("glmDraw() warning: smooth render mode requested with no normals defined.\n");
        smooth = false;
    }
    if (model->numtexcoords == 0) {
        std::printf("glmDraw() warning: texture render mode requested with no texture coordinates defined.\n");
        textured = false;
    }
    if (model->nummaterials == 0) {
        std::printf("glmDraw() warning: material render mode requested with no materials defined.\n");
        withMaterials = false;
    }
    for (ModelGroup* g = model->groups; g; g = g->next) {
        float scaleU = 1.f, scaleV = 1.f;
        if (withMaterials) {
            const ModelMaterial& m = model->materials[g->material < model->nummaterials ? g->material : 0];
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
            glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
            glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
            if (m.texture) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, m.texture->images[0]->getTextureId());
            } else {
                glDisable(GL_TEXTURE_2D);
            }
            scaleU = m.textureScale[0];
            scaleV = m.textureScale[1];
        }
        glBegin(GL_TRIANGLES);
        for (uint32_t index : g->triangles) {
            const ModelTriangle& t = model->triangles[index];
            for (int k = 0; k < 3; ++k) {
                if (smooth) {
                    const Float3& n = model->normals[t.nindices[k]];
                    glNormal3f(n.x(), n.y(), n.z());
                }
                if (textured) {
                    const Float2& uv = model->texcoords[t.tindices[k]];
                    glTexCoord2f(uv.x() * scaleU, uv.y() * scaleV);
                }
                const Float3& p = model->vertices[t.vindices[k]];
                glVertex3f(p.x(), p.y(), p.z());
            }
        }
        glEnd();
    }
}

void deleteModelData(ModelData* model) {
    releaseMaterials(model);
    for (ModelGroup* g = model->groups; g;) {
        ModelGroup* next = g->next;
        delete g;
        g = next;
    }
    delete model;
}
