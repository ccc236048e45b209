// One-time scene set-up: scene, textures, fog, lights, particles, banner.
#pragma once

#include "scene/track.h"

#include <cstdint>

// The corner banner: a textured 7 x 5 grid animated and drawn by the overlay.
struct Banner {
  float Width, Height;
  VectorTrack PositionTrack;  // one key: centre x, y and rotation in degrees
  uint32_t Texture;
  uint32_t TexEnv;
  float *GridColours;    // GridColumns x GridRows RGBA entries, row 0 on top
  float *GridTexCoords;  // GridColumns x GridRows (s, t) entries
  uint32_t GridColumns, GridRows;
};

extern Banner ShowBanner;

void SetupScene();
