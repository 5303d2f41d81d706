#include "CubeType.h"
#include "ErrorReport.h"
#include "SpriteManager.h"

#include <cstdio>

std::vector<CubeType*>* cubeTypeManager = nullptr;

CubeType::CubeType(const std::string faceNames[NB_CUBE_FACES], const bool repeat[3], bool isCollidable_)
    : isUsed(false), isShownInEditor(false), textureShadow(nullptr), isCollidable(isCollidable_) {
    for (int i = 0; i < NB_CUBE_FACES; ++i) {
        faceTextureNames[i] = faceNames[i];
        textureFace[i] = nullptr;
        textureFaceShadowed[i] = nullptr;
    }
    for (int axis = 0; axis < 3; ++axis) textureRepeat[axis] = repeat[axis];
    textureShadow = spriteManager->addSprite(CUBE_SHADOW_TEXTURE, 1);
}

CubeType::~CubeType() {
    freeTextures();
    ASSERT(textureShadow != NULL);
    spriteManager->removeSprite(textureShadow);
    textureShadow = nullptr;
}

void CubeType::loadTextures() {
    if (textureFace[0] != nullptr) return;
    for (int i = 0; i < NB_CUBE_FACES; ++i) {
        ASSERT(textureFace[i] == NULL);
        ASSERT(textureFaceShadowed[i] == NULL);
        textureFace[i] = spriteManager->addSprite(CUBE_TEXTURES_FOLDER + faceTextureNames[i], 1);
        textureFaceShadowed[i] = spriteManager->addSprite(CUBE_SHADOWED_TEXTURES_FOLDER + faceTextureNames[i], 1);
    }
}

void CubeType::freeTextures() {
    if (textureFace[0] == nullptr) return;
    std::printf("Free unused texture for CubeType ...\n");
    for (int i = 0; i < NB_CUBE_FACES; ++i) {
        ASSERT(textureFace[i] != NULL);
        ASSERT(textureFaceShadowed[i] != NULL);
        spriteManager->removeSprite(textureFace[i]);
        spriteManager->removeSprite(textureFaceShadowed[i]);
        textureFace[i] = nullptr;
        textureFaceShadowed[i] = nullptr;
    }
    std::printf(" ... free unused texture done\n");
}

void CubeType::modify(const std::string faceNames[NB_CUBE_FACES], const bool repeat[3], bool isCollidable_) {
    freeTextures();
    for (int i = 0; i < NB_CUBE_FACES; ++i) faceTextureNames[i] = faceNames[i];
    for (int axis = 0; axis < 3; ++axis) textureRepeat[axis] = repeat[axis];
    isCollidable = isCollidable_;
}

CubeType* findCubeType(int id) {
    if (!cubeTypeManager || id < 0 || static_cast<size_t>(id) >= cubeTypeManager->size()) return nullptr;
    CubeType* type = (*cubeTypeManager)[id];
    type->isUsed = true;
    return type;
}
