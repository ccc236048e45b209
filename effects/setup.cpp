#include "effects/setup.h"

#include "core/exit_list.h"
#include "effects/particles.h"
#include "effects/proctex.h"
#include "effects/proctex_recipes.h"
#include "effects/show_random.h"
#include "launcher/glcaps.h"
#include "scene/scene.h"
#include "textures/texture.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

uint32_t FlareTexture;
uint32_t SnowTexture;
uint32_t ShineTexture;
uint32_t ReflectionMap;
uint32_t TreeTexture;
uint32_t BranchTexture;
uint32_t SurfaceTexture;
uint32_t BannerTexture;
BannerRecord Banner;

static const GLenum LightNames[SCENE_MAX_LIGHTS] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                                    GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};

static void *Checked(void *p) { return CheckedMemory(p, "setting up the scene"); }

// Client arrays, clear colour, default material and fog: fixed for the run.
static void SetSceneGLState() {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glClearColor(0.9f, 0.9f, 0.9f, 0.0f);
  const GLfloat white[4] = {1, 1, 1, 1};
  glMaterialfv(GL_FRONT, GL_AMBIENT, white);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, white);
  glMaterialfv(GL_FRONT, GL_SPECULAR, white);
  glMaterialf(GL_FRONT, GL_SHININESS, 51.2f);
  // The fog colour is the clear colour: distant geometry fades into it.
  const GLfloat fogColour[4] = {0.9f, 0.9f, 0.9f, 1.0f};
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, fogColour);
  glFogf(GL_FOG_DENSITY, 0.1f);
  glHint(GL_FOG_HINT, GL_DONT_CARE);
  glFogf(GL_FOG_START, 40.0f);
  glFogf(GL_FOG_END, 50.0f);
}

// Layer 4 of the generator as a texture, then the layers are released.
static uint32_t TextureFromGenerator() {
  uint32_t name = createTexture(TexGen.Layers[TEX_RESULT_LAYER].data(), (uint32_t)TexGen.Width,
                                (uint32_t)TexGen.Height, GL_RGBA, MipmapFilter, GL_REPEAT, 255, true, false, true);
  TexRelease();
  return name;
}

// The eight textures but the banner, in the order the generator's shared
// random state needs.
static void CreateSceneTextures() {
  glEnable(GL_TEXTURE_2D);
  // '\' paths on purpose: the show's own file names, which the data reader maps (SlashPath) and its tests use.
  FlareTexture = loadTexture("data\\flareblu.hwl", GL_RGBA, MipmapFilter, GL_REPEAT, 255, false, true);
  SnowTexture = loadTexture("data\\snowflak.hwl", GL_RGBA, MipmapFilter, GL_REPEAT, 255, false, true);
  ShineTexture = loadTexture("data\\hwlshin5.hwl", GL_RGBA, MipmapFilter, GL_REPEAT, 255, false, true);
  RunReflectionRecipe();
  ReflectionMap = TextureFromGenerator();
  RunTreeRecipe();
  TreeTexture = TextureFromGenerator();
  BranchTexture = loadTextureWithAlpha("data\\xmastree.hwl", "data\\xmastrea.hwl", GL_RGBA, PlainFilter, GL_REPEAT,
                                       false, true);
  RunSurfaceRecipe();
  SurfaceTexture = TextureFromGenerator();
}

// One GL light and one snow fountain per scene light.
static void SetupLights(Scene &scene) {
  scene.ParticleSystemCount = 0;
  if (scene.LightCount >= 1) {
    glEnable(GL_LIGHTING);
    for (uint32_t i = 0; i < scene.LightCount && i < SCENE_MAX_LIGHTS; i++) {
      SceneLight &light = scene.Lights[i];
      glEnable(LightNames[i]);
      const GLfloat diffuse[4] = {light.Colour[0], light.Colour[1], light.Colour[2], 1.0f};
      const GLfloat ambient[4] = {0, 0, 0, 1};
      const GLfloat specular[4] = {1, 1, 1, 1};
      glLightfv(LightNames[i], GL_DIFFUSE, diffuse);
      glLightfv(LightNames[i], GL_AMBIENT, ambient);
      glLightfv(LightNames[i], GL_SPECULAR, specular);
      light.FlareSize = 1.5f;
      light.GlowTexture = ShineTexture;
      light.FlareTex = FlareTexture;
      light.GlowTexEnv = GL_MODULATE;
      light.FlareTexEnv = GL_MODULATE;

      scene.ParticleSystems = (ParticleSystem *)Checked(
          realloc(scene.ParticleSystems, (size_t)(scene.ParticleSystemCount + 1) * sizeof(ParticleSystem)));
      ParticleSystem &system = scene.ParticleSystems[scene.ParticleSystemCount];
      CreateParticleSystem(system, light.Colour[0], light.Colour[1], light.Colour[2], light.Position,
                           Vector3{0, 0, 0.2f}, Vector3{0.0005f, 0.0005f, -0.002f}, 1000, 350, 150, 0.5f, 0.5f, 0.3f);
      system.Texture = SnowTexture;
      system.TexEnv = GL_MODULATE;
      scene.ParticleSystemCount++;
    }
  }
  scene.AmbientColour[0] = scene.AmbientColour[1] = scene.AmbientColour[2] = 0.2f;
  const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

static bool NameHas(const SceneObject &object, const char *word) { return strstr(object.Name.Text, word) != nullptr; }

// Textures and render flags by name: "Tree" bark, "Ast" transparent
// branches, "Kugel" reflective ornaments; everything else snowy surface.
static void SetObjectLooks(Scene &scene) {
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    SceneObject &object = scene.Objects[i];
    if (!object.IsDummy) object.Drawable = true;
    object.BaseTexture = SurfaceTexture;
    object.BaseTexEnv = GL_MODULATE;
    object.ReflectionTexture = ReflectionMap;
    object.ReflectionTexEnv = GL_REPLACE;
    if (NameHas(object, "Tree")) object.BaseTexture = TreeTexture;
    if (NameHas(object, "Ast")) {
      object.Transparent = true;
      object.BaseTexture = BranchTexture;
    }
    if (NameHas(object, "Kugel")) {
      object.Textured = false;
      object.Reflective = true;
    }
  }
}

// The first camera's path returns to its start at CAMERA_LOOP_TICKS.
static void CloseCameraLoop(Scene &scene) {
  if (scene.CameraCount == 0) return;
  VectorTrack &track = scene.Cameras[0].PositionTrack;
  if (track.KeyCount == 0) return;  // no key 0 to repeat
  track.Capacity++;
  track.Keys = (VectorKey *)Checked(realloc(track.Keys, (size_t)track.Capacity * sizeof(VectorKey)));
  Vector3 start = track.Keys[0].Value;
  TrackAddKey(track, CAMERA_LOOP_TICKS, 0.5f, start.x, start.y, start.z);
  TrackPrepare(track);
}

static void SetupBanner() {
  BannerTexture = loadTextureWithAlpha("data\\xmasband.hwl", "data\\xmasbana.hwl", GL_RGBA, PlainFilter, GL_CLAMP,
                                       false, false);
  Banner.Width = 0.7592f;
  Banner.Height = 0.5174f;
  Banner.Texture = BannerTexture;
  Banner.TexEnv = GL_MODULATE;
  TrackInit(Banner.PositionTrack, 1);
  TrackAddKey(Banner.PositionTrack, 0, 0.5f, 1.3333f - Banner.Width * 0.5f, 1.0f - Banner.Height * 0.5f, 0.0f);
  TrackPrepare(Banner.PositionTrack);
  Banner.GridColumns = BANNER_COLUMNS;
  Banner.GridRows = BANNER_ROWS;
  Banner.GridTexCoords = (float *)Checked(calloc(BANNER_COLUMNS * BANNER_ROWS * 2, sizeof(float)));
  Banner.GridColours = (float *)Checked(calloc(BANNER_COLUMNS * BANNER_ROWS * 4, sizeof(float)));
}

void SetupSceneFrom(const char *sceneFileName) {
  // The snow draws from the show's generator: the same start every run.
  SeedShowRandom();
  SetSceneGLState();
  LoadScene(sceneFileName, ShowScene);
  CreateSceneTextures();
  SetupLights(ShowScene);
  SetObjectLooks(ShowScene);
  CloseCameraLoop(ShowScene);
  SetupBanner();
}

// '\' on purpose, as for the textures: the data reader maps it (SlashPath).
void SetupScene() { SetupSceneFrom("data\\xmas.3ds"); }
