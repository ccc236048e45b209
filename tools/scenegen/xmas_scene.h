// The show's scene, data/xmas.3ds: a snowy clearing with a large fir in the
// middle, glass ornaments swinging on it, a snowman, presents, snowy houses
// and firs in the distance, a sledge gliding round the clearing, bells
// swinging under an arch, five coloured lights circling the tree and one
// camera flying a loop of XMAS_LOOP ticks. The world's vertical is z; the
// tree stands at the origin.
#pragma once

#include "tools/scenegen/scene_file.h"

enum {
  XMAS_LOOP = 2200,     // the camera's loop, closed by the show
  XMAS_SPAN = 108000,   // ticks over which lights and objects keep moving (30 minutes)
};

void BuildXmasScene(GenScene &scene);
// The height of the snow ground at a point.
float XmasGroundHeight(float x, float y);
