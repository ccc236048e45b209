// What the parts of the scene generator share: a fixed random sequence,
// key and node helpers, and the procedures that build each part of the
// scene (tree, things round it, lights and camera).
#pragma once

#include "tools/scenegen/shapes.h"
#include "tools/scenegen/xmas_scene.h"

#include <cmath>

static const float PI = (float)M_PI;
static const Vector3 UP = {0, 0, 1};

// Parts of the show's snowy surface texture of one shade (its pixels, of
// 256, over 256): pure white snow, an olive brown, a middle grey.
static const TexturePatch SNOW_PATCH = {236 / 256.0f, 240 / 256.0f, 48 / 256.0f};
static const TexturePatch OLIVE_PATCH = {28 / 256.0f, 180 / 256.0f, 24 / 256.0f};
static const TexturePatch GREY_PATCH = {52 / 256.0f, 52 / 256.0f, 24 / 256.0f};

struct SceneRandom {
  uint32_t State;
};

float Random01(SceneRandom &r);
float RandomRange(SceneRandom &r, float low, float high);

GenKey Key3(int32_t frame, const Vector3 &v);
// A rotation key that turns the object by angle (radians, right-handed about
// axis) relative to the previous key, as the show turns it: 3DS keys hold the
// angle with the opposite sign.
GenKey Turn(int32_t frame, float angle, const Vector3 &axis);
// A new node at the end of the list; returns its index.
int AddNode(GenScene &scene, GenNodeType type, const std::string &name, const std::string &instance, int parent);
// A node that stands still: at position (in its parent's frame), turned by
// heading about the vertical, unscaled.
void HoldStill(GenNode &node, const Vector3 &position, float heading);
void AddMesh(GenScene &scene, MeshMaker &m);
// A mesh with a node that stands still where its vertices are.
int AddStillMesh(GenScene &scene, MeshMaker &m, float heading, int parent = -1);
// Keys every step ticks from 0 to XMAS_SPAN of a swing about axis between
// +amplitude and -amplitude (radians), starting and ending at rest.
void SwingKeys(GenTrack &track, const Vector3 &axis, float amplitude, int32_t step, bool startPositive);

void BuildGround(GenScene &scene);
// The trunk, its branches and top; returns the trunk's node.
int BuildTree(GenScene &scene);
void BuildTreeTop(GenScene &scene, int tree);
void BuildOrnaments(GenScene &scene, int tree, SceneRandom &random);
void BuildSnowman(GenScene &scene);
void BuildPresents(GenScene &scene, SceneRandom &random);
void BuildSurroundings(GenScene &scene, SceneRandom &random);
void BuildSledge(GenScene &scene);
void BuildBells(GenScene &scene);
void BuildLights(GenScene &scene);
void BuildCamera(GenScene &scene);
