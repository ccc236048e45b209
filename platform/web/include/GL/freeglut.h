// The browser build's <GL/freeglut.h>: the GLUT calls the show makes, as the
// browser stand-in (platform/web/web_glut.cpp) offers them on a canvas.
#pragma once

#include <GL/gl.h>

enum {
  GLUT_RGB = 0,
  GLUT_DOUBLE = 2,
  GLUT_DEPTH = 16,
  GLUT_ELAPSED_TIME = 700,
  GLUT_WINDOW_WIDTH = 102,
  GLUT_WINDOW_HEIGHT = 103,
  GLUT_GAME_MODE_ACTIVE = 0,
  GLUT_GAME_MODE_POSSIBLE = 1,
  GLUT_CURSOR_NONE = 101,
  GLUT_ACTION_ON_WINDOW_CLOSE = 0x01F9,
  GLUT_ACTION_CONTINUE_EXECUTION = 2
};

#define GLUT_STROKE_ROMAN ((void *)0)

void glutInit(int *argc, char **argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
int glutCreateWindow(const char *title);
void glutSetWindowTitle(const char *title);
void glutGameModeString(const char *mode);
int glutGameModeGet(GLenum query);
int glutEnterGameMode();
void glutLeaveGameMode();
void glutSetCursor(int cursor);
void glutReshapeFunc(void (*callback)(int width, int height));
void glutIdleFunc(void (*callback)());
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutDisplayFunc(void (*callback)());
void glutCloseFunc(void (*callback)());
void glutSetOption(GLenum option, int value);
void glutMainLoop();
void glutPostRedisplay();
void glutSwapBuffers();
int glutGet(GLenum query);
int glutExtensionSupported(const char *name);
void (*glutGetProcAddress(const char *name))();
void glutStrokeCharacter(void *font, int character);
