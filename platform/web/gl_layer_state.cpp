// The layer's state, matrices and the GLU matrix helpers.
#include "platform/web/gl_layer_state.h"

#include <cmath>
#include <cstring>

static GLLayerStack IdentityStack() {
  GLLayerStack s{};
  s.Entries[0].m[0] = s.Entries[0].m[5] = s.Entries[0].m[10] = s.Entries[0].m[15] = 1;
  return s;
}

static void Set4(float *out, float a, float b, float c, float d) {
  out[0] = a, out[1] = b, out[2] = c, out[3] = d;
}

// The GL's initial state, where the show relies on it.
static GLLayerStateRecord InitialState() {
  GLLayerStateRecord s{};
  s.ModelView = s.Projection = s.Texture = IdentityStack();
  s.MatrixMode = GL_MODELVIEW;
  for (int i = 0; i < GL_LAYER_MAX_LIGHTS; i++) {
    GLLayerLight &light = s.Lights[i];
    Set4(light.Position, 0, 0, 1, 0);
    Set4(light.Ambient, 0, 0, 0, 1);
    float on = i == 0 ? 1.0f : 0.0f;
    Set4(light.Diffuse, on, on, on, 1);
    Set4(light.Specular, on, on, on, 1);
  }
  Set4(s.ModelAmbient, 0.2f, 0.2f, 0.2f, 1);
  Set4(s.MaterialAmbient, 0.2f, 0.2f, 0.2f, 1);
  Set4(s.MaterialDiffuse, 0.8f, 0.8f, 0.8f, 1);
  Set4(s.MaterialSpecular, 0, 0, 0, 1);
  Set4(s.MaterialEmission, 0, 0, 0, 1);
  s.FogEnd = 1;
  Set4(s.FogColour, 0, 0, 0, 0);
  s.TexEnv = GL_MODULATE;
  Set4(s.Colour, 1, 1, 1, 1);
  s.Normal[2] = 1;
  s.LineWidth = 1;
  s.UnpackAlignment = 4;
  return s;
}

GLLayerStateRecord GLLayer = InitialState();

GLLayerStack &CurrentStack() {
  if (GLLayer.MatrixMode == GL_PROJECTION) return GLLayer.Projection;
  if (GLLayer.MatrixMode == GL_TEXTURE) return GLLayer.Texture;
  return GLLayer.ModelView;
}

void MultiplyMatrix(const float a[16], const float b[16], float out[16]) {
  float r[16];
  for (int c = 0; c < 4; c++)
    for (int row = 0; row < 4; row++)
      r[c * 4 + row] = a[row] * b[c * 4] + a[4 + row] * b[c * 4 + 1] + a[8 + row] * b[c * 4 + 2] +
                       a[12 + row] * b[c * 4 + 3];
  memcpy(out, r, sizeof r);
}

void TransformPoint(const float m[16], const float in[4], float out[4]) {
  float r[4];
  for (int row = 0; row < 4; row++)
    r[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
  memcpy(out, r, sizeof r);
}

// Switches the GL's own state where GLES 2 has it; the rest is ours alone.
static void SetCap(GLenum cap, bool on) {
  if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + GL_LAYER_MAX_LIGHTS) {
    GLLayer.Lights[cap - GL_LIGHT0].On = on;
    return;
  }
  switch (cap) {
  case GL_LIGHTING: GLLayer.Lighting = on; return;
  case GL_FOG: GLLayer.Fog = on; return;
  case GL_TEXTURE_2D: GLLayer.Texturing = on; return;
  case GL_TEXTURE_GEN_S: GLLayer.GenS = on; return;
  case GL_TEXTURE_GEN_T: GLLayer.GenT = on; return;
  case GL_BLEND: GLLayer.Blend = on; break;
  case GL_DEPTH_TEST: GLLayer.DepthTest = on; break;
  case GL_CULL_FACE: GLLayer.CullFace = on; break;
  case GL_DITHER: break;
  default: return;
  }
  if (on) glEnable(cap);
  else glDisable(cap);
}

void sglEnable(GLenum cap) { SetCap(cap, true); }
void sglDisable(GLenum cap) { SetCap(cap, false); }

GLboolean sglIsEnabled(GLenum cap) {
  if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + GL_LAYER_MAX_LIGHTS) return GLLayer.Lights[cap - GL_LIGHT0].On;
  switch (cap) {
  case GL_LIGHTING: return GLLayer.Lighting;
  case GL_FOG: return GLLayer.Fog;
  case GL_TEXTURE_2D: return GLLayer.Texturing;
  case GL_TEXTURE_GEN_S: return GLLayer.GenS;
  case GL_TEXTURE_GEN_T: return GLLayer.GenT;
  case GL_BLEND: return GLLayer.Blend;
  case GL_DEPTH_TEST: return GLLayer.DepthTest;
  case GL_CULL_FACE: return GLLayer.CullFace;
  default: return glIsEnabled(cap);
  }
}

static GLLayerClientArray *ClientArray(GLenum array) {
  if (array == GL_VERTEX_ARRAY) return &GLLayer.Vertices;
  if (array == GL_NORMAL_ARRAY) return &GLLayer.Normals;
  if (array == GL_TEXTURE_COORD_ARRAY) return &GLLayer.TexCoords;
  return nullptr;
}

void sglEnableClientState(GLenum array) {
  if (GLLayerClientArray *a = ClientArray(array)) a->On = true;
}

void sglDisableClientState(GLenum array) {
  if (GLLayerClientArray *a = ClientArray(array)) a->On = false;
}

static const float *MatrixOf(GLenum name) {
  if (name == GL_MODELVIEW_MATRIX) return GLLayer.ModelView.Entries[GLLayer.ModelView.Top].m;
  if (name == GL_PROJECTION_MATRIX) return GLLayer.Projection.Entries[GLLayer.Projection.Top].m;
  return nullptr;
}

void sglGetIntegerv(GLenum name, GLint *out) {
  if (name == GL_MATRIX_MODE) *out = (GLint)GLLayer.MatrixMode;
  else if (name == GL_VIEWPORT) memcpy(out, GLLayer.Viewport, sizeof GLLayer.Viewport);
  else glGetIntegerv(name, out);
}

void sglGetFloatv(GLenum name, GLfloat *out) {
  if (name == GL_CURRENT_COLOR) memcpy(out, GLLayer.Colour, sizeof GLLayer.Colour);
  else if (const float *m = MatrixOf(name)) memcpy(out, m, 16 * sizeof(float));
  else glGetFloatv(name, out);
}

void sglGetDoublev(GLenum name, GLdouble *out) {
  float values[16] = {};
  sglGetFloatv(name, values);
  int count = MatrixOf(name) ? 16 : name == GL_CURRENT_COLOR ? 4 : 1;
  for (int i = 0; i < count; i++) out[i] = values[i];
}

const GLubyte *sglGetString(GLenum name) { return glGetString(name); }

void sglHint(GLenum, GLenum) {}
void sglShadeModel(GLenum) {}
void sglPolygonMode(GLenum, GLenum) {}
void sglLineWidth(GLfloat width) { GLLayer.LineWidth = width; }
void sglClear(GLbitfield mask) { glClear(mask); }
void sglClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { glClearColor(r, g, b, a); }
#ifdef __EMSCRIPTEN__
void sglClearDepth(GLdouble depth) { glClearDepthf((GLfloat)depth); }
#else
void sglClearDepth(GLdouble depth) { glClearDepth(depth); }
#endif

void sglViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  GLLayer.Viewport[0] = x, GLLayer.Viewport[1] = y, GLLayer.Viewport[2] = width, GLLayer.Viewport[3] = height;
  glViewport(x, y, width, height);
}

void sglBlendFunc(GLenum source, GLenum destination) { glBlendFunc(source, destination); }
void sglDepthMask(GLboolean on) { glDepthMask(on); }
void sglDepthFunc(GLenum function) { glDepthFunc(function); }
void sglCullFace(GLenum face) { glCullFace(face); }
void sglFrontFace(GLenum direction) { glFrontFace(direction); }

void sglPixelStorei(GLenum name, GLint value) {
  if (name == GL_UNPACK_ALIGNMENT) GLLayer.UnpackAlignment = value;
  glPixelStorei(name, value);
}

// Matrices

void sglMatrixMode(GLenum mode) { GLLayer.MatrixMode = mode; }

void sglPushMatrix() {
  GLLayerStack &s = CurrentStack();
  if (s.Top + 1 >= GL_LAYER_STACK_DEPTH) return;  // GL's stack overflow: ignored
  s.Entries[s.Top + 1] = s.Entries[s.Top];
  s.Top++;
}

void sglPopMatrix() {
  GLLayerStack &s = CurrentStack();
  if (s.Top > 0) s.Top--;
}

void sglLoadIdentity() {
  float *m = CurrentMatrix();
  memset(m, 0, 16 * sizeof(float));
  m[0] = m[5] = m[10] = m[15] = 1;
}

void sglMultMatrixf(const GLfloat *m) {
  float *current = CurrentMatrix();
  MultiplyMatrix(current, m, current);
}

void sglTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  float *m = CurrentMatrix();
  for (int row = 0; row < 4; row++) m[12 + row] += m[row] * x + m[4 + row] * y + m[8 + row] * z;
}

void sglScalef(GLfloat x, GLfloat y, GLfloat z) {
  float *m = CurrentMatrix();
  for (int row = 0; row < 4; row++) m[row] *= x, m[4 + row] *= y, m[8 + row] *= z;
}

void sglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  float length = std::sqrt(x * x + y * y + z * z);
  if (length == 0) return;
  x /= length, y /= length, z /= length;
  float radians = angle * (float)(M_PI / 180.0);
  float s = std::sin(radians), c = std::cos(radians), k = 1 - c;
  const float r[16] = {k * x * x + c,     k * x * y + z * s, k * z * x - y * s, 0,
                       k * x * y - z * s, k * y * y + c,     k * y * z + x * s, 0,
                       k * z * x + y * s, k * y * z - x * s, k * z * z + c,     0,
                       0,                 0,                 0,                 1};
  sglMultMatrixf(r);
}

void sgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  double radians = fovy / 2 * M_PI / 180;
  double depth = zFar - zNear, sine = std::sin(radians);
  if (depth == 0 || sine == 0 || aspect == 0) return;
  double cotangent = std::cos(radians) / sine;
  const float m[16] = {(float)(cotangent / aspect), 0, 0, 0, 0, (float)cotangent, 0, 0, 0, 0,
                       (float)(-(zFar + zNear) / depth), -1, 0, 0, (float)(-2 * zNear * zFar / depth), 0};
  sglMultMatrixf(m);
}

static void Normalize3(float v[3]) {
  float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (l == 0) return;
  v[0] /= l, v[1] /= l, v[2] /= l;
}

static void Cross3(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

void sgluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
                GLdouble upX, GLdouble upY, GLdouble upZ) {
  float forward[3] = {(float)(centreX - eyeX), (float)(centreY - eyeY), (float)(centreZ - eyeZ)};
  float up[3] = {(float)upX, (float)upY, (float)upZ}, side[3];
  Normalize3(forward);
  Cross3(forward, up, side);
  Normalize3(side);
  Cross3(side, forward, up);
  const float m[16] = {side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0,
                       side[2], up[2], -forward[2], 0, 0,       0,     0,           1};
  sglMultMatrixf(m);
  sglTranslatef((float)-eyeX, (float)-eyeY, (float)-eyeZ);
}

void sgluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
  const float m[16] = {(float)(2 / (right - left)), 0, 0, 0, 0, (float)(2 / (top - bottom)), 0, 0, 0, 0, -1, 0,
                       (float)(-(right + left) / (right - left)), (float)(-(top + bottom) / (top - bottom)), 0, 1};
  sglMultMatrixf(m);
}

GLint sgluProject(GLdouble x, GLdouble y, GLdouble z, const GLdouble model[16], const GLdouble projection[16],
                  const GLint viewport[4], GLdouble *winX, GLdouble *winY, GLdouble *winZ) {
  const double in[4] = {x, y, z, 1};
  double eye[4], clip[4];
  for (int row = 0; row < 4; row++)
    eye[row] = model[row] * in[0] + model[4 + row] * in[1] + model[8 + row] * in[2] + model[12 + row] * in[3];
  for (int row = 0; row < 4; row++)
    clip[row] = projection[row] * eye[0] + projection[4 + row] * eye[1] + projection[8 + row] * eye[2] +
                projection[12 + row] * eye[3];
  if (clip[3] == 0.0) return GL_FALSE;
  for (int i = 0; i < 3; i++) clip[i] = clip[i] / clip[3] * 0.5 + 0.5;
  *winX = clip[0] * viewport[2] + viewport[0];
  *winY = clip[1] * viewport[3] + viewport[1];
  *winZ = clip[2];
  return GL_TRUE;
}

// Lights, material, fog, texture environment

void sglLightfv(GLenum light, GLenum name, const GLfloat *values) {
  if (light < GL_LIGHT0 || light >= GL_LIGHT0 + GL_LAYER_MAX_LIGHTS) return;
  GLLayerLight &l = GLLayer.Lights[light - GL_LIGHT0];
  switch (name) {
  case GL_POSITION: TransformPoint(GLLayer.ModelView.Entries[GLLayer.ModelView.Top].m, values, l.Position); break;
  case GL_AMBIENT: memcpy(l.Ambient, values, 4 * sizeof(float)); break;
  case GL_DIFFUSE: memcpy(l.Diffuse, values, 4 * sizeof(float)); break;
  case GL_SPECULAR: memcpy(l.Specular, values, 4 * sizeof(float)); break;
  default: break;
  }
}

void sglLightModelfv(GLenum name, const GLfloat *values) {
  if (name == GL_LIGHT_MODEL_AMBIENT) memcpy(GLLayer.ModelAmbient, values, 4 * sizeof(float));
}

void sglMaterialfv(GLenum, GLenum name, const GLfloat *values) {
  switch (name) {
  case GL_AMBIENT: memcpy(GLLayer.MaterialAmbient, values, 4 * sizeof(float)); break;
  case GL_DIFFUSE: memcpy(GLLayer.MaterialDiffuse, values, 4 * sizeof(float)); break;
  case GL_SPECULAR: memcpy(GLLayer.MaterialSpecular, values, 4 * sizeof(float)); break;
  case GL_EMISSION: memcpy(GLLayer.MaterialEmission, values, 4 * sizeof(float)); break;
  case GL_SHININESS: GLLayer.Shininess = values[0]; break;
  default: break;
  }
}

void sglMaterialf(GLenum, GLenum name, GLfloat value) {
  if (name == GL_SHININESS) GLLayer.Shininess = value;
}

void sglFogf(GLenum name, GLfloat value) {
  if (name == GL_FOG_START) GLLayer.FogStart = value;
  if (name == GL_FOG_END) GLLayer.FogEnd = value;
}

// Linear fog is the only mode the layer draws.
void sglFogi(GLenum name, GLint value) { sglFogf(name, (GLfloat)value); }

void sglFogfv(GLenum name, const GLfloat *values) {
  if (name == GL_FOG_COLOR) memcpy(GLLayer.FogColour, values, 4 * sizeof(float));
  else sglFogf(name, values[0]);
}

void sglTexEnvf(GLenum, GLenum name, GLfloat value) {
  if (name == GL_TEXTURE_ENV_MODE) GLLayer.TexEnv = (GLenum)value;
}

void sglTexEnvi(GLenum target, GLenum name, GLint value) { sglTexEnvf(target, name, (GLfloat)value); }

// Sphere mapping is the only generation the layer draws.
void sglTexGeni(GLenum, GLenum, GLint) {}

void *sglGetProcAddress(const char *) { return nullptr; }
