// The layer's drawing: one shader program that lights, textures and fogs as
// the fixed-function pipeline does, fed by immediate mode (quads and quad
// strips gathered into triangles), by client arrays with 32-bit indices and
// by the wide lines of the stroke font.
#include "platform/web/gl_layer_state.h"

#ifndef __EMSCRIPTEN__
#include <GL/glext.h>
#endif
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

struct LayerVertex {
  float Position[4];
  float Normal[3];
  float TexCoord[2];
  float Colour[4];
};

enum { ATTRIB_POSITION, ATTRIB_NORMAL, ATTRIB_TEXCOORD, ATTRIB_COLOUR };

struct LayerProgramRecord {
  GLuint Program;
  GLuint StreamBuffer, PositionBuffer, NormalBuffer, TexCoordBuffer, IndexBuffer;
  GLint ModelView, Projection, TexMatrix, NormalMatrix, Lighting, LightCount, LightPosition, LightAmbient,
      LightDiffuse, LightSpecular, SceneColour, MaterialAlpha, Shininess, SphereMap, TexMode, Sampler, Fog,
      FogStart, FogEnd, FogColour;
  bool Ready;
};

static LayerProgramRecord Shader;
static std::vector<LayerVertex> Pending;    // vertices since sglBegin
static std::vector<LayerVertex> Triangles;  // what one draw sends
static std::vector<LayerVertex> WideLines;  // quads of wide lines, clip coordinates

static const char *const VertexSource = R"(
attribute vec4 aPosition;
attribute vec3 aNormal;
attribute vec2 aTexCoord;
attribute vec4 aColour;
uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat4 uTexMatrix;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform int uLightCount;
uniform vec4 uLightPosition[8];
uniform vec3 uLightAmbient[8];
uniform vec3 uLightDiffuse[8];
uniform vec3 uLightSpecular[8];
uniform vec3 uSceneColour;
uniform float uMaterialAlpha;
uniform float uShininess;
uniform bool uSphereMap;
varying vec4 vColour;
varying vec2 vTexCoord;
varying float vFogDistance;
void main() {
  vec4 eye = uModelView * aPosition;
  gl_Position = uProjection * eye;
  // Not normalised: the GL leaves the normal as the matrix scales it.
  vec3 normal = uNormalMatrix * aNormal;
  // The GL clamps the vertex colour, lit or not.
  vColour = clamp(aColour, 0.0, 1.0);
  if (uLighting) {
    vec3 c = uSceneColour;
    for (int i = 0; i < 8; i++) {
      if (i < uLightCount) {
        vec3 toLight = uLightPosition[i].w == 0.0 ? uLightPosition[i].xyz
                                                  : uLightPosition[i].xyz - eye.xyz / eye.w;
        vec3 L = normalize(toLight);
        float d = dot(normal, L);
        c += uLightAmbient[i];
        if (d > 0.0) {
          c += d * uLightDiffuse[i];
          float s = max(dot(normal, normalize(L + vec3(0.0, 0.0, 1.0))), 0.0);
          if (s > 0.0) c += pow(s, uShininess) * uLightSpecular[i];
        }
      }
    }
    vColour = vec4(clamp(c, 0.0, 1.0), uMaterialAlpha);
  }
  vec2 t = aTexCoord;
  if (uSphereMap) {
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * normal * dot(normal, u);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    t = vec2(r.x / m + 0.5, r.y / m + 0.5);
  }
  vTexCoord = (uTexMatrix * vec4(t, 0.0, 1.0)).xy;
  vFogDistance = abs(eye.z);
}
)";

static const char *const FragmentSource = R"(
uniform sampler2D uSampler;
uniform int uTexMode;
uniform bool uFog;
uniform float uFogStart;
uniform float uFogEnd;
uniform vec3 uFogColour;
varying vec4 vColour;
varying vec2 vTexCoord;
varying float vFogDistance;
void main() {
  vec4 c = vColour;
  if (uTexMode == 1) c *= texture2D(uSampler, vTexCoord);
  else if (uTexMode == 2) c = texture2D(uSampler, vTexCoord);
  if (uFog) {
    float f = clamp((uFogEnd - vFogDistance) / (uFogEnd - uFogStart), 0.0, 1.0);
    c.rgb = mix(uFogColour, c.rgb, f);
  }
  gl_FragColor = c;
}
)";

#ifdef __EMSCRIPTEN__
static const char *const VertexPrefix = "precision highp float;\n";
static const char *const FragmentPrefix = "precision highp float;\n";
#else
static const char *const VertexPrefix = "#version 110\n";
static const char *const FragmentPrefix = "#version 110\n";
#endif

static GLuint CompileShader(GLenum kind, const char *prefix, const char *source) {
  GLuint shader = glCreateShader(kind);
  const char *parts[2] = {prefix, source};
  glShaderSource(shader, 2, parts, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2000];
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    fprintf(stderr, "GL layer: shader: %s\n", log);
  }
  return shader;
}

static void BuildProgram() {
  LayerProgramRecord &s = Shader;
  s.Program = glCreateProgram();
  glAttachShader(s.Program, CompileShader(GL_VERTEX_SHADER, VertexPrefix, VertexSource));
  glAttachShader(s.Program, CompileShader(GL_FRAGMENT_SHADER, FragmentPrefix, FragmentSource));
  glBindAttribLocation(s.Program, ATTRIB_POSITION, "aPosition");
  glBindAttribLocation(s.Program, ATTRIB_NORMAL, "aNormal");
  glBindAttribLocation(s.Program, ATTRIB_TEXCOORD, "aTexCoord");
  glBindAttribLocation(s.Program, ATTRIB_COLOUR, "aColour");
  glLinkProgram(s.Program);
  GLint ok = 0;
  glGetProgramiv(s.Program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2000];
    glGetProgramInfoLog(s.Program, sizeof log, nullptr, log);
    fprintf(stderr, "GL layer: program: %s\n", log);
  }
  GLuint p = s.Program;
  s.ModelView = glGetUniformLocation(p, "uModelView");
  s.Projection = glGetUniformLocation(p, "uProjection");
  s.TexMatrix = glGetUniformLocation(p, "uTexMatrix");
  s.NormalMatrix = glGetUniformLocation(p, "uNormalMatrix");
  s.Lighting = glGetUniformLocation(p, "uLighting");
  s.LightCount = glGetUniformLocation(p, "uLightCount");
  s.LightPosition = glGetUniformLocation(p, "uLightPosition");
  s.LightAmbient = glGetUniformLocation(p, "uLightAmbient");
  s.LightDiffuse = glGetUniformLocation(p, "uLightDiffuse");
  s.LightSpecular = glGetUniformLocation(p, "uLightSpecular");
  s.SceneColour = glGetUniformLocation(p, "uSceneColour");
  s.MaterialAlpha = glGetUniformLocation(p, "uMaterialAlpha");
  s.Shininess = glGetUniformLocation(p, "uShininess");
  s.SphereMap = glGetUniformLocation(p, "uSphereMap");
  s.TexMode = glGetUniformLocation(p, "uTexMode");
  s.Sampler = glGetUniformLocation(p, "uSampler");
  s.Fog = glGetUniformLocation(p, "uFog");
  s.FogStart = glGetUniformLocation(p, "uFogStart");
  s.FogEnd = glGetUniformLocation(p, "uFogEnd");
  s.FogColour = glGetUniformLocation(p, "uFogColour");
  GLuint buffers[5];
  glGenBuffers(5, buffers);
  s.StreamBuffer = buffers[0], s.PositionBuffer = buffers[1], s.NormalBuffer = buffers[2];
  s.TexCoordBuffer = buffers[3], s.IndexBuffer = buffers[4];
  s.Ready = true;
}

// The inverse transpose of the model-view matrix's upper 3x3, which turns
// normals into eye coordinates.
static void NormalMatrix(const float m[16], float out[9]) {
  float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
  float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
  float det = a * A + b * B + c * C;
  if (det == 0) det = 1;
  float inv = 1.0f / det;
  // Column-major storage of the inverse's transpose: the cofactors / det.
  out[0] = A * inv, out[1] = -(b * i - c * h) * inv, out[2] = (b * f - c * e) * inv;
  out[3] = B * inv, out[4] = (a * i - c * g) * inv, out[5] = -(a * f - c * d) * inv;
  out[6] = C * inv, out[7] = -(a * h - b * g) * inv, out[8] = (a * e - b * d) * inv;
}

static void SetLightUniforms() {
  const GLLayerStateRecord &s = GLLayer;
  float position[GL_LAYER_MAX_LIGHTS][4], ambient[GL_LAYER_MAX_LIGHTS][3], diffuse[GL_LAYER_MAX_LIGHTS][3],
      specular[GL_LAYER_MAX_LIGHTS][3];
  int count = 0;
  for (const GLLayerLight &light : s.Lights) {
    if (!light.On) continue;
    memcpy(position[count], light.Position, sizeof position[count]);
    for (int c = 0; c < 3; c++) {
      ambient[count][c] = light.Ambient[c] * s.MaterialAmbient[c];
      diffuse[count][c] = light.Diffuse[c] * s.MaterialDiffuse[c];
      specular[count][c] = light.Specular[c] * s.MaterialSpecular[c];
    }
    count++;
  }
  float scene[3];
  for (int c = 0; c < 3; c++) scene[c] = s.MaterialEmission[c] + s.ModelAmbient[c] * s.MaterialAmbient[c];
  glUniform1i(Shader.LightCount, count);
  if (count > 0) {
    glUniform4fv(Shader.LightPosition, count, &position[0][0]);
    glUniform3fv(Shader.LightAmbient, count, &ambient[0][0]);
    glUniform3fv(Shader.LightDiffuse, count, &diffuse[0][0]);
    glUniform3fv(Shader.LightSpecular, count, &specular[0][0]);
  }
  glUniform3fv(Shader.SceneColour, 1, scene);
  glUniform1f(Shader.MaterialAlpha, s.MaterialDiffuse[3]);
  glUniform1f(Shader.Shininess, s.Shininess);
}

// Everything the fixed-function pipeline would take from the state. In clip
// coordinates (the wide lines), the matrices are the identity and nothing
// is lit, generated or textured.
static void PrepareDraw(bool clipCoordinates) {
  if (!Shader.Ready) BuildProgram();
  const GLLayerStateRecord &s = GLLayer;
  static const float Identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float *modelView = clipCoordinates ? Identity : s.ModelView.Entries[s.ModelView.Top].m;
  const float *projection = clipCoordinates ? Identity : s.Projection.Entries[s.Projection.Top].m;
  float normal[9];
  NormalMatrix(modelView, normal);
  glUseProgram(Shader.Program);
  glUniformMatrix4fv(Shader.ModelView, 1, GL_FALSE, modelView);
  glUniformMatrix4fv(Shader.Projection, 1, GL_FALSE, projection);
  glUniformMatrix4fv(Shader.TexMatrix, 1, GL_FALSE, s.Texture.Entries[s.Texture.Top].m);
  glUniformMatrix3fv(Shader.NormalMatrix, 1, GL_FALSE, normal);
  bool lit = s.Lighting && !clipCoordinates;
  glUniform1i(Shader.Lighting, lit);
  if (lit) SetLightUniforms();
  glUniform1i(Shader.SphereMap, s.GenS && s.GenT && !clipCoordinates);
  int mode = 0;
  if (s.Texturing && !clipCoordinates && s.BoundTexture != 0) mode = s.TexEnv == GL_REPLACE ? 2 : 1;
  glUniform1i(Shader.TexMode, mode);
  glUniform1i(Shader.Sampler, 0);
  glUniform1i(Shader.Fog, s.Fog);
  glUniform1f(Shader.FogStart, s.FogStart);
  glUniform1f(Shader.FogEnd, s.FogEnd);
  glUniform3fv(Shader.FogColour, 1, s.FogColour);
}

static void DrawTriangleList(const std::vector<LayerVertex> &vertices, bool clipCoordinates) {
  if (vertices.empty()) return;
  PrepareDraw(clipCoordinates);
  glBindBuffer(GL_ARRAY_BUFFER, Shader.StreamBuffer);
  glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(vertices.size() * sizeof(LayerVertex)), vertices.data(),
               GL_STREAM_DRAW);
  const GLsizei stride = sizeof(LayerVertex);
  glEnableVertexAttribArray(ATTRIB_POSITION);
  glEnableVertexAttribArray(ATTRIB_NORMAL);
  glEnableVertexAttribArray(ATTRIB_TEXCOORD);
  glEnableVertexAttribArray(ATTRIB_COLOUR);
  glVertexAttribPointer(ATTRIB_POSITION, 4, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(LayerVertex, Position));
  glVertexAttribPointer(ATTRIB_NORMAL, 3, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(LayerVertex, Normal));
  glVertexAttribPointer(ATTRIB_TEXCOORD, 2, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(LayerVertex, TexCoord));
  glVertexAttribPointer(ATTRIB_COLOUR, 4, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(LayerVertex, Colour));
  glDrawArrays(GL_TRIANGLES, 0, (GLsizei)vertices.size());
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// Immediate mode

void sglBegin(GLenum mode) {
  GLLayer.Primitive = mode;
  GLLayer.Inside = true;
  Pending.clear();
}

// A quad a b c d as two triangles sharing the diagonal a c.
static void AddQuad(const LayerVertex &a, const LayerVertex &b, const LayerVertex &c, const LayerVertex &d) {
  Triangles.push_back(a), Triangles.push_back(b), Triangles.push_back(c);
  Triangles.push_back(a), Triangles.push_back(c), Triangles.push_back(d);
}

void sglEnd() {
  GLLayer.Inside = false;
  Triangles.clear();
  const size_t n = Pending.size();
  if (GLLayer.Primitive == GL_QUADS) {
    for (size_t i = 0; i + 3 < n; i += 4) AddQuad(Pending[i], Pending[i + 1], Pending[i + 2], Pending[i + 3]);
  } else if (GLLayer.Primitive == GL_QUAD_STRIP) {
    for (size_t i = 0; i + 3 < n; i += 2) AddQuad(Pending[i], Pending[i + 1], Pending[i + 3], Pending[i + 2]);
  } else if (GLLayer.Primitive == GL_TRIANGLES) {
    Triangles.assign(Pending.begin(), Pending.begin() + (long)(n - n % 3));
  } else if (GLLayer.Primitive == GL_TRIANGLE_STRIP) {
    for (size_t i = 0; i + 2 < n; i++) {
      bool odd = i % 2 != 0;
      Triangles.push_back(Pending[odd ? i + 1 : i]), Triangles.push_back(Pending[odd ? i : i + 1]);
      Triangles.push_back(Pending[i + 2]);
    }
  } else if (GLLayer.Primitive == GL_LINE_STRIP || GLLayer.Primitive == GL_LINES) {
    size_t step = GLLayer.Primitive == GL_LINES ? 2 : 1;
    for (size_t i = 0; i + 1 < n; i += step) GLLayerWideLine(Pending[i].Position, Pending[i + 1].Position);
    GLLayerFlushWideLines();
    return;
  }
  DrawTriangleList(Triangles, false);
}

void sglVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  LayerVertex v;
  v.Position[0] = x, v.Position[1] = y, v.Position[2] = z, v.Position[3] = 1;
  memcpy(v.Normal, GLLayer.Normal, sizeof v.Normal);
  memcpy(v.TexCoord, GLLayer.TexCoord, sizeof v.TexCoord);
  memcpy(v.Colour, GLLayer.Colour, sizeof v.Colour);
  Pending.push_back(v);
}

void sglVertex3fv(const GLfloat *v) { sglVertex3f(v[0], v[1], v[2]); }
void sglNormal3f(GLfloat x, GLfloat y, GLfloat z) { GLLayer.Normal[0] = x, GLLayer.Normal[1] = y, GLLayer.Normal[2] = z; }
void sglTexCoord2f(GLfloat s, GLfloat t) { GLLayer.TexCoord[0] = s, GLLayer.TexCoord[1] = t; }
void sglTexCoord2fv(const GLfloat *v) { sglTexCoord2f(v[0], v[1]); }
void sglColor3f(GLfloat r, GLfloat g, GLfloat b) { sglColor4f(r, g, b, 1); }

void sglColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  GLLayer.Colour[0] = r, GLLayer.Colour[1] = g, GLLayer.Colour[2] = b, GLLayer.Colour[3] = a;
}

void sglColor4fv(const GLfloat *v) { sglColor4f(v[0], v[1], v[2], v[3]); }

// Wide lines

void GLLayerWideLine(const float a[3], const float b[3]) {
  const GLLayerStateRecord &s = GLLayer;
  float mvp[16];
  MultiplyMatrix(s.Projection.Entries[s.Projection.Top].m, s.ModelView.Entries[s.ModelView.Top].m, mvp);
  const float pa[4] = {a[0], a[1], a[2], 1}, pb[4] = {b[0], b[1], b[2], 1};
  float ca[4], cb[4];
  TransformPoint(mvp, pa, ca);
  TransformPoint(mvp, pb, cb);
  if (ca[3] <= 0 || cb[3] <= 0) return;
  // Window-space direction decides the minor axis the width goes along.
  float dx = (cb[0] / cb[3] - ca[0] / ca[3]) * (float)s.Viewport[2];
  float dy = (cb[1] / cb[3] - ca[1] / ca[3]) * (float)s.Viewport[3];
  float half = s.LineWidth * 0.5f;
  float ox = 0, oy = 0;  // half the width in normalised device units
  if (std::fabs(dx) >= std::fabs(dy)) oy = s.Viewport[3] > 0 ? 2 * half / (float)s.Viewport[3] : 0;
  else ox = s.Viewport[2] > 0 ? 2 * half / (float)s.Viewport[2] : 0;
  LayerVertex v[4] = {};
  const float *ends[4] = {ca, ca, cb, cb};
  const float sign[4] = {-1, 1, 1, -1};
  for (int i = 0; i < 4; i++) {
    const float *c = ends[i];
    v[i].Position[0] = c[0] + sign[i] * ox * c[3];
    v[i].Position[1] = c[1] + sign[i] * oy * c[3];
    v[i].Position[2] = c[2];
    v[i].Position[3] = c[3];
    memcpy(v[i].Colour, s.Colour, sizeof v[i].Colour);
  }
  WideLines.push_back(v[0]), WideLines.push_back(v[1]), WideLines.push_back(v[2]);
  WideLines.push_back(v[0]), WideLines.push_back(v[2]), WideLines.push_back(v[3]);
}

void GLLayerFlushWideLines() {
  // Lines have no faces to cull.
  bool cull = GLLayer.CullFace;
  if (cull) glDisable(GL_CULL_FACE);
  DrawTriangleList(WideLines, true);
  if (cull) glEnable(GL_CULL_FACE);
  WideLines.clear();
}

// Client arrays

static GLLayerClientArray &Array(GLLayerClientArray &a, GLint size, GLsizei stride, const void *pointer) {
  a.Size = size, a.Stride = stride, a.Pointer = pointer;
  return a;
}

void sglVertexPointer(GLint size, GLenum, GLsizei stride, const void *pointer) {
  Array(GLLayer.Vertices, size, stride, pointer);
}

void sglNormalPointer(GLenum, GLsizei stride, const void *pointer) { Array(GLLayer.Normals, 3, stride, pointer); }

void sglTexCoordPointer(GLint size, GLenum, GLsizei stride, const void *pointer) {
  Array(GLLayer.TexCoords, size, stride, pointer);
}

// Sends vertices 0 to count - 1 of a float array to its attribute, or the
// current value when the array is off.
static void FeedArray(const GLLayerClientArray &a, GLuint buffer, GLuint attribute, uint32_t count,
                      const float *current) {
  if (!a.On || !a.Pointer) {
    glDisableVertexAttribArray(attribute);
    glVertexAttrib4f(attribute, current[0], current[1], attribute == ATTRIB_NORMAL ? current[2] : 0,
                     attribute == ATTRIB_COLOUR ? current[3] : 1);
    return;
  }
  GLsizei stride = a.Stride ? a.Stride : (GLsizei)(a.Size * sizeof(float));
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)((size_t)(count - 1) * stride + a.Size * sizeof(float)), a.Pointer,
               GL_STREAM_DRAW);
  glEnableVertexAttribArray(attribute);
  glVertexAttribPointer(attribute, a.Size, GL_FLOAT, GL_FALSE, stride, nullptr);
}

void sglDrawElements(GLenum mode, GLsizei count, GLenum type, const void *indices) {
  if (count <= 0 || !GLLayer.Vertices.On || !GLLayer.Vertices.Pointer) return;
  uint32_t highest = 0;
  if (type == GL_UNSIGNED_INT) {
    for (GLsizei i = 0; i < count; i++) highest = std::max(highest, ((const uint32_t *)indices)[i]);
  } else if (type == GL_UNSIGNED_SHORT) {
    for (GLsizei i = 0; i < count; i++) highest = std::max(highest, (uint32_t)((const uint16_t *)indices)[i]);
  } else {
    return;
  }
  PrepareDraw(false);
  FeedArray(GLLayer.Vertices, Shader.PositionBuffer, ATTRIB_POSITION, highest + 1, nullptr);
  FeedArray(GLLayer.Normals, Shader.NormalBuffer, ATTRIB_NORMAL, highest + 1, GLLayer.Normal);
  FeedArray(GLLayer.TexCoords, Shader.TexCoordBuffer, ATTRIB_TEXCOORD, highest + 1, GLLayer.TexCoord);
  GLLayerClientArray noColours{};
  FeedArray(noColours, 0, ATTRIB_COLOUR, highest + 1, GLLayer.Colour);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Shader.IndexBuffer);
  size_t bytes = (size_t)count * (type == GL_UNSIGNED_INT ? 4 : 2);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, (GLsizeiptr)bytes, indices, GL_STREAM_DRAW);
  glDrawElements(mode, count, type, nullptr);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}
