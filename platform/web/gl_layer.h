// The GL 1.1 and GLU calls the show makes, drawn through shaders on a
// GLES 2 / WebGL context (or a desktop GL 2.0 one, which is how the tests
// compare its pictures with the fixed-function ones). Lighting is computed
// per vertex as fixed-function GL does: positional lights, the material,
// the global ambient, an infinite viewer; then sphere-map generation,
// MODULATE or REPLACE texturing and linear fog by the eye distance.
//
// The show's sources reach these through gl_redirect.h, which renames the
// GL 1.1 calls; everything else (the context, the swap, read-back) is the
// platform's own.
#pragma once

#include <cstdint>

#ifdef __EMSCRIPTEN__
#include <GLES2/gl2.h>
#else
#include <GL/gl.h>
#endif

typedef double GLdouble;

// GL 1.1 names that a GLES 2 header lacks.
#ifndef GL_QUADS
#define GL_QUADS 0x0007
#define GL_QUAD_STRIP 0x0008
#endif
#ifndef GL_LIGHTING
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001
#define GL_LIGHT2 0x4002
#define GL_LIGHT3 0x4003
#define GL_LIGHT4 0x4004
#define GL_LIGHT5 0x4005
#define GL_LIGHT6 0x4006
#define GL_LIGHT7 0x4007
#define GL_LIGHT_MODEL_AMBIENT 0x0B53
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_FOG 0x0B60
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_FOG_HINT 0x0C54
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_MODULATE 0x2100
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_SPHERE_MAP 0x2402
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_MATRIX_MODE 0x0BA0
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_CURRENT_COLOR 0x0B00
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075
#define GL_TEXTURE_COORD_ARRAY 0x8078
#define GL_SMOOTH 0x1D01
#define GL_FILL 0x1B02
#define GL_CLAMP 0x2900
#define GL_LINEAR_FOG 0x2601
#define GL_COMPRESSED_RGB_ARB 0x84ED
#define GL_COMPRESSED_RGBA_ARB 0x84EE
#endif
#ifndef GL_LINEAR_FOG
#define GL_LINEAR_FOG GL_LINEAR
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

enum { GL_LAYER_MAX_LIGHTS = 8, GL_LAYER_STACK_DEPTH = 32 };

// State
void sglEnable(GLenum cap);
void sglDisable(GLenum cap);
GLboolean sglIsEnabled(GLenum cap);
void sglEnableClientState(GLenum array);
void sglDisableClientState(GLenum array);
void sglGetIntegerv(GLenum name, GLint *out);
void sglGetFloatv(GLenum name, GLfloat *out);
void sglGetDoublev(GLenum name, GLdouble *out);
const GLubyte *sglGetString(GLenum name);
void sglHint(GLenum target, GLenum mode);
void sglShadeModel(GLenum mode);
void sglPolygonMode(GLenum face, GLenum mode);
void sglLineWidth(GLfloat width);
void sglClear(GLbitfield mask);
void sglClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void sglClearDepth(GLdouble depth);
void sglViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void sglBlendFunc(GLenum source, GLenum destination);
void sglDepthMask(GLboolean on);
void sglDepthFunc(GLenum function);
void sglCullFace(GLenum face);
void sglFrontFace(GLenum direction);
void sglPixelStorei(GLenum name, GLint value);

// Matrices
void sglMatrixMode(GLenum mode);
void sglPushMatrix();
void sglPopMatrix();
void sglLoadIdentity();
void sglMultMatrixf(const GLfloat *m);
void sglTranslatef(GLfloat x, GLfloat y, GLfloat z);
void sglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void sglScalef(GLfloat x, GLfloat y, GLfloat z);
void sgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void sgluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
                GLdouble upX, GLdouble upY, GLdouble upZ);
void sgluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
GLint sgluProject(GLdouble x, GLdouble y, GLdouble z, const GLdouble model[16], const GLdouble projection[16],
                  const GLint viewport[4], GLdouble *winX, GLdouble *winY, GLdouble *winZ);

// Lights, material, fog, texture environment and generation
void sglLightfv(GLenum light, GLenum name, const GLfloat *values);
void sglLightModelfv(GLenum name, const GLfloat *values);
void sglMaterialfv(GLenum face, GLenum name, const GLfloat *values);
void sglMaterialf(GLenum face, GLenum name, GLfloat value);
void sglFogf(GLenum name, GLfloat value);
void sglFogi(GLenum name, GLint value);
void sglFogfv(GLenum name, const GLfloat *values);
void sglTexEnvf(GLenum target, GLenum name, GLfloat value);
void sglTexEnvi(GLenum target, GLenum name, GLint value);
void sglTexGeni(GLenum coord, GLenum name, GLint value);

// Vertices
void sglBegin(GLenum mode);
void sglEnd();
void sglVertex3f(GLfloat x, GLfloat y, GLfloat z);
void sglVertex3fv(const GLfloat *v);
void sglNormal3f(GLfloat x, GLfloat y, GLfloat z);
void sglTexCoord2f(GLfloat s, GLfloat t);
void sglTexCoord2fv(const GLfloat *v);
void sglColor3f(GLfloat r, GLfloat g, GLfloat b);
void sglColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void sglColor4fv(const GLfloat *v);
void sglVertexPointer(GLint size, GLenum type, GLsizei stride, const void *pointer);
void sglNormalPointer(GLenum type, GLsizei stride, const void *pointer);
void sglTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void *pointer);
void sglDrawElements(GLenum mode, GLsizei count, GLenum type, const void *indices);

// Textures
void sglGenTextures(GLsizei count, GLuint *names);
void sglBindTexture(GLenum target, GLuint name);
void sglTexParameteri(GLenum target, GLenum name, GLint value);
void sglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void *pixels);
GLint sgluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                         GLenum type, const void *pixels);
GLint sgluScaleImage(GLenum format, GLint widthIn, GLint heightIn, GLenum typeIn, const void *in, GLint widthOut,
                     GLint heightOut, GLenum typeOut, void *out);

// The show's stroke font: a character drawn at the origin in font units
// (capitals 100 high), advancing the model-view matrix by its width. Lines
// are drawn as quads of the line width in pixels, as wide GL lines are.
void sglStrokeCharacter(void *font, int character);
// Extension entry points: the layer offers none.
void *sglGetProcAddress(const char *name);

// For the layer's own files: a wide line of the current matrices between two
// points in model coordinates, as a quad of the line width in pixels, offset
// along the line's minor axis as GL's wide lines are; the quads gathered are
// drawn by GLLayerFlushWideLines in the current colour.
void GLLayerWideLine(const float a[3], const float b[3]);
void GLLayerFlushWideLines();
