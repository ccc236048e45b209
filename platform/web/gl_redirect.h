// Included before every source of a build that draws through the GL layer
// (the browser build, and the native build that compares the layer with
// fixed-function GL): the GL headers first, so that their declarations keep
// their names, then the GL 1.1 and GLU calls renamed to the layer's.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/freeglut.h>

#include "platform/web/gl_layer.h"

#define glEnable sglEnable
#define glDisable sglDisable
#define glIsEnabled sglIsEnabled
#define glEnableClientState sglEnableClientState
#define glDisableClientState sglDisableClientState
#define glGetIntegerv sglGetIntegerv
#define glGetFloatv sglGetFloatv
#define glGetDoublev sglGetDoublev
#define glGetString sglGetString
#define glHint sglHint
#define glShadeModel sglShadeModel
#define glPolygonMode sglPolygonMode
#define glLineWidth sglLineWidth
#define glClear sglClear
#define glClearColor sglClearColor
#define glClearDepth sglClearDepth
#define glViewport sglViewport
#define glBlendFunc sglBlendFunc
#define glDepthMask sglDepthMask
#define glDepthFunc sglDepthFunc
#define glCullFace sglCullFace
#define glFrontFace sglFrontFace
#define glPixelStorei sglPixelStorei
#define glMatrixMode sglMatrixMode
#define glPushMatrix sglPushMatrix
#define glPopMatrix sglPopMatrix
#define glLoadIdentity sglLoadIdentity
#define glMultMatrixf sglMultMatrixf
#define glTranslatef sglTranslatef
#define glRotatef sglRotatef
#define glScalef sglScalef
#define gluPerspective sgluPerspective
#define gluLookAt sgluLookAt
#define gluOrtho2D sgluOrtho2D
#define gluProject sgluProject
#define glLightfv sglLightfv
#define glLightModelfv sglLightModelfv
#define glMaterialfv sglMaterialfv
#define glMaterialf sglMaterialf
#define glFogf sglFogf
#define glFogi sglFogi
#define glFogfv sglFogfv
#define glTexEnvf sglTexEnvf
#define glTexEnvi sglTexEnvi
#define glTexGeni sglTexGeni
#define glBegin sglBegin
#define glEnd sglEnd
#define glVertex3f sglVertex3f
#define glVertex3fv sglVertex3fv
#define glNormal3f sglNormal3f
#define glTexCoord2f sglTexCoord2f
#define glTexCoord2fv sglTexCoord2fv
#define glColor3f sglColor3f
#define glColor4f sglColor4f
#define glColor4fv sglColor4fv
#define glVertexPointer sglVertexPointer
#define glNormalPointer sglNormalPointer
#define glTexCoordPointer sglTexCoordPointer
#define glDrawElements sglDrawElements
#define glGenTextures sglGenTextures
#define glBindTexture sglBindTexture
#define glTexParameteri sglTexParameteri
#define glTexImage2D sglTexImage2D
#define gluBuild2DMipmaps sgluBuild2DMipmaps
#define gluScaleImage sgluScaleImage
#define glutStrokeCharacter sglStrokeCharacter
#define wglGetProcAddress sglGetProcAddress
