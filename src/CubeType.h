#pragma once
// What a cube aggregate looks like and whether it stops the player. A type's number is its place
// in cubeTypeManager. The face sprites and their shadowed variants are loaded on first use and
// freed after a world update that did not use the type; all twelve are loaded or none.
#include <string>
#include <vector>

class Sprite;

// Face order: 0 top (+y), 1 bottom (-y), 2 front (+z), 3 back (-z), 4 left (-x), 5 right (+x).
const int NB_CUBE_FACES = 6;

#define CUBE_TEXTURES_FOLDER "cube_textures/"
#define CUBE_SHADOWED_TEXTURES_FOLDER "cube_shadowed_textures/"
#define CUBE_SHADOW_TEXTURE "black_semi_transparent.png"

class CubeType {
public:
    bool isUsed;                                  // looked up since the last resetCubeTypeUse
    bool isShownInEditor;                         // the editor shows its faces this frame
    std::string faceTextureNames[NB_CUBE_FACES];  // file names without their folder
    Sprite* textureFace[NB_CUBE_FACES];           // from the sprite manager; null while not loaded
    Sprite* textureFaceShadowed[NB_CUBE_FACES];   // null exactly when textureFace is
    bool textureRepeat[3];                        // x, y, z as chosen in the editor; kept and saved, not drawn
    Sprite* textureShadow;                        // the semi-transparent shadow texture, for the type's whole life
    bool isCollidable;

    CubeType(const std::string faceNames[NB_CUBE_FACES], const bool repeat[3], bool isCollidable);
    ~CubeType();
    CubeType(const CubeType&) = delete;
    CubeType& operator=(const CubeType&) = delete;

    void loadTextures();
    void freeTextures();
    // Takes new names and flags; the textures load again when next needed.
    void modify(const std::string faceNames[NB_CUBE_FACES], const bool repeat[3], bool isCollidable);
};

// The world's cube types in number order; owned by the indexed world.
extern std::vector<CubeType*>* cubeTypeManager;

// The type of a zone, marked used, or null when no type has that number (after the editor
// removed the last type, or a merge brought zones of more types): such zones are skipped.
CubeType* findCubeType(int id);
