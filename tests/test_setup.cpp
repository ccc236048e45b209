// The scene set-up on a real GL context: the fixed GL state, the textures,
// lights and snow fountains, looks by object name, the closing camera key
// and the banner, on the test scene and on scenes without lights or keys.
// frosten-test: x11
#include "effects/particles.h"
#include "effects/setup.h"
#include "launcher/glcaps.h"
#include "scene/scene.h"
#include "tests/gl_window.h"
#include "tests/test_scene.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Writes the bytes to a file, empties ShowScene and the lights' GL state,
// and sets the scene up from the file.
static void SetUpFrom(const std::vector<uint8_t> &bytes) {
  std::string path = std::string(FROSTEN_BINARY_DIR) + "/test_setup_scene.3ds";
  FILE *f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  free(ShowScene.ParticleSystems);
  FreeScene(ShowScene);
  glDisable(GL_LIGHTING);
  for (int i = 0; i < 8; i++) glDisable(GL_LIGHT0 + i);
  SetupSceneFrom(path.c_str());
  remove(path.c_str());
}

static const SceneObject *Find(const char *name) {
  for (uint32_t i = 0; i < ShowScene.ObjectCount; i++)
    if (strcmp(ShowScene.Objects[i].Name.Text, name) == 0) return &ShowScene.Objects[i];
  return nullptr;
}

static GLint MinFilterOf(GLuint texture) {
  GLint v = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
  return v;
}

struct SetupTest : testing::Test {
  void SetUp() override {
    if (!OpenGLTestWindow()) GTEST_SKIP() << "no X display";
    DetectGLCapabilities();
  }
  void TearDown() override { EXPECT_EQ(PendingGLError(), (GLenum)GL_NO_ERROR); }
};

TEST_F(SetupTest, TestSceneGetsStateTexturesLightsCameraLoopAndBanner) {
  SetUpFrom(BuildTestScene());
  // Fixed state.
  EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY) && glIsEnabled(GL_TEXTURE_COORD_ARRAY) && glIsEnabled(GL_NORMAL_ARRAY));
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLfloat v[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, v);
  EXPECT_FLOAT_EQ(v[0], 0.9f);
  EXPECT_FLOAT_EQ(v[3], 0.0f);
  glGetFloatv(GL_FOG_COLOR, v);
  EXPECT_FLOAT_EQ(v[2], 0.9f);
  EXPECT_FLOAT_EQ(v[3], 1.0f);
  glGetFloatv(GL_FOG_START, v);
  EXPECT_EQ(v[0], 40.0f);
  glGetFloatv(GL_FOG_END, v);
  EXPECT_EQ(v[0], 50.0f);
  GLint mode;
  glGetIntegerv(GL_FOG_MODE, &mode);
  EXPECT_EQ(mode, GL_LINEAR);
  glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
  EXPECT_FLOAT_EQ(v[0], 51.2f);

  // Eight distinct textures; the colour-plus-alpha ones use the plain filter.
  uint32_t names[] = {FlareTexture, SnowTexture, ShineTexture, ReflectionMap,
                      TreeTexture,  BranchTexture, SurfaceTexture, BannerTexture};
  for (int i = 0; i < 8; i++) {
    EXPECT_TRUE(glIsTexture(names[i])) << i;
    for (int j = 0; j < i; j++) EXPECT_NE(names[i], names[j]);
  }
  EXPECT_EQ(MinFilterOf(FlareTexture), (GLint)MipmapFilter);
  EXPECT_EQ(MinFilterOf(SurfaceTexture), (GLint)MipmapFilter);
  EXPECT_EQ(MinFilterOf(BranchTexture), (GLint)PlainFilter);
  EXPECT_EQ(MinFilterOf(BannerTexture), (GLint)PlainFilter);
  GLint wrap;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(wrap, GL_CLAMP) << "the banner is clamped";

  // Two lights: GL lights 0 and 1 in the lights' colours, a fountain each.
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0) && glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
  glGetLightfv(GL_LIGHT1, GL_DIFFUSE, v);
  EXPECT_FLOAT_EQ(v[0], ShowScene.Lights[1].Colour[0]);
  EXPECT_FLOAT_EQ(v[2], ShowScene.Lights[1].Colour[2]);
  EXPECT_FLOAT_EQ(v[3], 1.0f);
  glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
  EXPECT_EQ(v[0], 0.0f);
  ASSERT_EQ(ShowScene.ParticleSystemCount, 2u);
  for (uint32_t i = 0; i < 2; i++) {
    const SceneLight &light = ShowScene.Lights[i];
    const ParticleSystem &system = ShowScene.ParticleSystems[i];
    EXPECT_EQ(light.FlareSize, 1.5f);
    EXPECT_EQ(light.GlowTexture, ShineTexture);
    EXPECT_EQ(light.FlareTex, FlareTexture);
    EXPECT_EQ(light.GlowTexEnv, (uint32_t)GL_MODULATE);
    EXPECT_EQ(system.Texture, SnowTexture);
    EXPECT_EQ(system.TexEnv, (uint32_t)GL_MODULATE);
    EXPECT_EQ(system.Origin.x, light.Position.x);
    EXPECT_EQ(system.Origin.z, light.Position.z);
    EXPECT_EQ(system.Colour[1], light.Colour[1]);
    EXPECT_EQ(system.Life, 350);
    EXPECT_EQ(system.LifeRandom, 150);
    EXPECT_EQ(system.BaseVelocity.z, 0.2f);
    EXPECT_EQ(system.Acceleration.z, -0.002f);
  }
  // The file's ambient (0.3) is replaced.
  EXPECT_EQ(ShowScene.AmbientColour[0], 0.2f);
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
  EXPECT_FLOAT_EQ(v[1], 0.2f);
  EXPECT_FLOAT_EQ(v[3], 1.0f);

  // The eye path is closed: a fifth key at 2200 repeats key 0, with
  // tangents recomputed; the target track is left as it is.
  const SceneCamera &camera = ShowScene.Cameras[0];
  const VectorTrack &eye = camera.PositionTrack;
  ASSERT_EQ(eye.KeyCount, 5u);
  EXPECT_EQ(eye.Capacity, 5u);
  EXPECT_EQ(eye.Keys[4].Frame, 2200);
  EXPECT_EQ(eye.Keys[4].Tension, 0.5f);
  EXPECT_EQ(eye.Keys[4].Value.x, eye.Keys[0].Value.x);
  EXPECT_EQ(eye.Keys[4].Value.y, eye.Keys[0].Value.y);
  EXPECT_EQ(eye.Keys[4].Value.z, eye.Keys[0].Value.z);
  EXPECT_FLOAT_EQ(eye.Keys[3].Tangent.x, 0.5f * (eye.Keys[4].Value.x - eye.Keys[2].Value.x));
  EXPECT_EQ(camera.TargetTrack.KeyCount, 3u);
  Vector3 atStart{}, atEnd{};
  sampleVectorTrack(eye, 0, atStart);
  sampleVectorTrack(eye, 2200, atEnd);
  EXPECT_EQ(atStart.x, atEnd.x);
  EXPECT_EQ(atStart.y, atEnd.y);

  // Banner.
  EXPECT_EQ(Banner.Width, 0.7592f);
  EXPECT_EQ(Banner.Height, 0.5174f);
  ASSERT_EQ(Banner.PositionTrack.KeyCount, 1u);
  EXPECT_NEAR(Banner.PositionTrack.Keys[0].Value.x, 0.9537f, 1e-6);
  EXPECT_NEAR(Banner.PositionTrack.Keys[0].Value.y, 0.7413f, 1e-6);
  EXPECT_EQ(Banner.PositionTrack.Keys[0].Value.z, 0.0f);
  EXPECT_EQ(Banner.Texture, BannerTexture);
  EXPECT_EQ(Banner.TexEnv, (uint32_t)GL_MODULATE);
  EXPECT_EQ(Banner.GridColumns, 7u);
  EXPECT_EQ(Banner.GridRows, 5u);
  ASSERT_TRUE(Banner.GridColours && Banner.GridTexCoords);
  Banner.GridColours[7 * 5 * 4 - 1] = 1;  // both grids hold all their entries
  Banner.GridTexCoords[7 * 5 * 2 - 1] = 1;
}

// Meshes named to probe the name rules, and a dummy.
static std::vector<uint8_t> NamedScene(const std::vector<std::string> &names) {
  TestMesh triangle{{0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1, 0, 0, 1}, {0, 1, 2}};
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  for (auto &name : names) TestMeshChunk(w, name, triangle, 0, 0, 0);
  w.End();
  w.Begin(KFDATA);
  TestObjectNode(w, "$$$DUMMY", "KugelHalter", 0xFFFF, 0, 0, 0, {});
  w.End();
  w.End();
  return w.Bytes;
}

TEST_F(SetupTest, LooksFollowCaseSensitiveNameParts) {
  SetUpFrom(NamedScene({"Tree", "MyTree01", "Ast2", "TreeAst", "KugelTree", "Kugel", "tree", "AST", "kugel", "Boden"}));
  struct Expected {
    const char *Name;
    uint32_t Base;
    bool Transparent, Textured, Reflective;
  } expected[] = {
      {"Tree", TreeTexture, false, true, false},       {"MyTree01", TreeTexture, false, true, false},
      {"Ast2", BranchTexture, true, true, false},      {"TreeAst", BranchTexture, true, true, false},
      {"KugelTree", TreeTexture, false, false, true},  {"Kugel", SurfaceTexture, false, false, true},
      {"tree", SurfaceTexture, false, true, false},    {"AST", SurfaceTexture, false, true, false},
      {"kugel", SurfaceTexture, false, true, false},   {"Boden", SurfaceTexture, false, true, false},
  };
  for (const Expected &e : expected) {
    const SceneObject *o = Find(e.Name);
    ASSERT_TRUE(o) << e.Name;
    EXPECT_EQ(o->BaseTexture, e.Base) << e.Name;
    EXPECT_EQ(o->Transparent, e.Transparent) << e.Name;
    EXPECT_EQ(o->Textured, e.Textured) << e.Name;
    EXPECT_EQ(o->Reflective, e.Reflective) << e.Name;
    EXPECT_TRUE(o->Drawable) << e.Name;
    EXPECT_EQ(o->BaseTexEnv, (uint32_t)GL_MODULATE);
    EXPECT_EQ(o->ReflectionTexture, ReflectionMap);
    EXPECT_EQ(o->ReflectionTexEnv, (uint32_t)GL_REPLACE);
  }
  const SceneObject *dummy = Find("KugelHalter");
  ASSERT_TRUE(dummy);
  EXPECT_TRUE(dummy->IsDummy);
  EXPECT_FALSE(dummy->Drawable) << "dummies are never drawn";
  EXPECT_TRUE(dummy->Reflective) << "the name rules apply to dummies too";
}

TEST_F(SetupTest, ScenesWithoutLightsOrCameraKeys) {
  TestSceneOptions options;
  options.Lights = false;
  options.Camera = false;
  SetUpFrom(BuildTestScene(options));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_EQ(ShowScene.ParticleSystemCount, 0u);
  EXPECT_EQ(ShowScene.ParticleSystems, nullptr);
  EXPECT_EQ(ShowScene.CameraCount, 0u);
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  EXPECT_EQ(Find("Kugel")->Reflective, true);

  // A camera that the keyframer gave no keys has no key 0 to repeat.
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Camera01");
  w.Begin(N_CAMERA);
  w.Floats({10, 0, 5, 0, 0, 0, 0, 35});
  w.End();
  w.End();
  w.End();
  w.End();
  SetUpFrom(w.Bytes);
  ASSERT_EQ(ShowScene.CameraCount, 1u);
  EXPECT_EQ(ShowScene.Cameras[0].PositionTrack.KeyCount, 0u);
  EXPECT_EQ(ShowScene.ObjectCount, 0u);
}
