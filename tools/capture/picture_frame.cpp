#include "tools/capture/picture_frame.h"

#include "launcher/display.h"
#include "offscreen/frame_capture.h"

#include <cstring>

PictureFrame FramePicture(int imageWidth, int imageHeight, bool stretch) {
  PictureFrame f = {0, 0, imageWidth, imageHeight, imageWidth, imageHeight};
  if (stretch) return f;
  FourThreeRect r = FitFourThree(imageWidth, imageHeight);
  f.X = r.X;
  f.Y = r.Y;
  f.Width = r.Width;
  f.Height = r.Height;
  return f;
}

void UsePictureFrame(const PictureFrame &f) { Reshape(f.Width, f.Height); }

void ReadFramedPicture(const PictureFrame &f, PngImage &picture, PngImage &image) {
  if (f.Width == f.ImageWidth && f.Height == f.ImageHeight) {
    ReadBackBuffer(f.Width, f.Height, image);
    return;
  }
  ReadBackBuffer(f.Width, f.Height, picture);
  image.Width = f.ImageWidth;
  image.Height = f.ImageHeight;
  image.Channels = 3;
  image.Pixels.assign((size_t)f.ImageWidth * f.ImageHeight * 3, 0);
  const size_t row = (size_t)f.Width * 3;
  for (int y = 0; y < f.Height; y++)
    memcpy(&image.Pixels[((size_t)(f.Y + y) * f.ImageWidth + f.X) * 3], &picture.Pixels[(size_t)y * row], row);
}
