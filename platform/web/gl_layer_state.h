// The layer's state: what fixed-function GL would hold, in one record that
// the layer's files share.
#pragma once

#include "platform/web/gl_layer.h"

struct GLLayerMatrix {
  float m[16];  // column-major, as the GL matrix calls take them
};

struct GLLayerStack {
  GLLayerMatrix Entries[GL_LAYER_STACK_DEPTH];
  int Top;
};

struct GLLayerLight {
  bool On;
  float Position[4];  // eye coordinates, as transformed when set
  float Ambient[4];
  float Diffuse[4];
  float Specular[4];
};

struct GLLayerClientArray {
  bool On;
  GLint Size;
  GLsizei Stride;
  const void *Pointer;
};

struct GLLayerStateRecord {
  GLLayerStack ModelView, Projection, Texture;
  GLenum MatrixMode;
  GLint Viewport[4];
  bool Lighting, Fog, Texturing, GenS, GenT, Blend, DepthTest, CullFace;
  GLLayerLight Lights[GL_LAYER_MAX_LIGHTS];
  float ModelAmbient[4];
  float MaterialAmbient[4], MaterialDiffuse[4], MaterialSpecular[4], MaterialEmission[4];
  float Shininess;
  float FogStart, FogEnd, FogColour[4];
  GLenum TexEnv;
  GLuint BoundTexture;
  float Colour[4], Normal[3], TexCoord[2];
  float LineWidth;
  GLint UnpackAlignment;
  GLLayerClientArray Vertices, Normals, TexCoords;
  // Immediate mode: the primitive under way and its vertices so far.
  GLenum Primitive;
  bool Inside;
};

extern GLLayerStateRecord GLLayer;

GLLayerStack &CurrentStack();
inline float *CurrentMatrix() { GLLayerStack &s = CurrentStack(); return s.Entries[s.Top].m; }
// out = a * b, column-major.
void MultiplyMatrix(const float a[16], const float b[16], float out[16]);
void TransformPoint(const float m[16], const float in[4], float out[4]);
