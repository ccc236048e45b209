// Where the show's 4:3 picture goes in a capture of any size: centred
// between black bars, as the screen saver frames its window, or stretched
// over all of it when asked.
#pragma once

#include "tools/common/png_file.h"

struct PictureFrame {
  int X, Y, Width, Height;  // the picture, in pixels from the image's top left
  int ImageWidth, ImageHeight;
};

// The largest 4:3 rectangle in whole pixels centred in the image, or the
// whole image when stretch is set.
PictureFrame FramePicture(int imageWidth, int imageHeight, bool stretch);

// Has the frames drawn at the picture's size in the window's lower left
// corner, exactly as in a window of that size.
void UsePictureFrame(const PictureFrame &frame);

// The drawn picture read back and framed: the image, black round the
// picture. picture is working space.
void ReadFramedPicture(const PictureFrame &frame, PngImage &picture, PngImage &image);
