// One-time scene set-up: GL state, the scene, the eight textures of the
// show, lights with their snow fountains, looks by object name, the closing
// camera key and the corner banner.
#pragma once

#include "scene/track.h"

#include <cstdint>

// The corner banner, animated and drawn by the overlay. Its grids hold
// GridColumns x GridRows entries, rewritten every frame.
struct BannerRecord {
  float Width;
  float Height;
  VectorTrack PositionTrack;
  uint32_t Texture;       // GL texture name
  uint32_t TexEnv;        // GL texture-environment mode
  float *GridColours;     // 4 floats (RGBA) per grid point
  float *GridTexCoords;   // 2 floats per grid point
  uint32_t GridColumns;
  uint32_t GridRows;
};

// Texture names, filled by SetupScene in this order.
extern uint32_t FlareTexture;    // data\flareblu.hwl: the lights' flare sprite
extern uint32_t SnowTexture;     // data\snowflak.hwl: the snow particles
extern uint32_t ShineTexture;    // data\hwlshin5.hwl: the lights' glow sprite
extern uint32_t ReflectionMap;   // generated 128 x 128: every mesh's reflection
extern uint32_t TreeTexture;     // generated 256 x 256: meshes named "...Tree..."
extern uint32_t BranchTexture;   // data\xmastree.hwl + data\xmastrea.hwl: "...Ast..."
extern uint32_t SurfaceTexture;  // generated 256 x 256: every other mesh
extern uint32_t BannerTexture;   // data\xmasband.hwl + data\xmasbana.hwl

extern BannerRecord Banner;

enum { BANNER_COLUMNS = 7, BANNER_ROWS = 5, CAMERA_LOOP_TICKS = 2200 };

// Sets up the show from data\xmas.3ds; needs a current GL context and the
// detected GL capabilities. Runs once.
void SetupScene();
// The same with another scene file (tests, tools, benchmarks). The scene
// goes into ShowScene, which must be empty.
void SetupSceneFrom(const char *sceneFileName);
