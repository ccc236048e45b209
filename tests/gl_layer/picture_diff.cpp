// Compares two pictures of one size: picture_diff A.png B.png [MEAN P99]
// prints "mean M p99 P" (a pixel's difference is its largest channel
// difference, 0 to 255) and fails when a bound given is exceeded.
#include "tools/common/png_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 3 && argc != 5) {
    fprintf(stderr, "usage: picture_diff A.png B.png [MEAN P99]\n");
    return 2;
  }
  PngImage a, b;
  char error[256];
  if (!ReadPng(argv[1], a, error, sizeof error) || !ReadPng(argv[2], b, error, sizeof error)) {
    fprintf(stderr, "picture_diff: %s\n", error);
    return 2;
  }
  if (a.Width != b.Width || a.Height != b.Height || a.Width <= 0 || a.Height <= 0) {
    fprintf(stderr, "picture_diff: %dx%d and %dx%d differ in size\n", a.Width, a.Height, b.Width, b.Height);
    return 1;
  }
  const size_t count = (size_t)a.Width * a.Height;
  std::vector<int> differences(count);
  double sum = 0;
  for (size_t i = 0; i < count; i++) {
    int largest = 0;
    for (int c = 0; c < 3; c++) {
      // Grey pictures repeat their one channel.
      int va = a.Pixels[i * a.Channels + (a.Channels >= 3 ? c : 0)];
      int vb = b.Pixels[i * b.Channels + (b.Channels >= 3 ? c : 0)];
      largest = std::max(largest, std::abs(va - vb));
    }
    differences[i] = largest;
    sum += largest;
  }
  std::sort(differences.begin(), differences.end());
  double mean = sum / (double)count;
  int p99 = differences[std::min(count - 1, (size_t)((double)count * 0.99))];
  printf("mean %.2f p99 %d\n", mean, p99);
  if (argc == 5 && (mean > atof(argv[3]) || p99 > atoi(argv[4]))) {
    fprintf(stderr, "picture_diff: %s and %s differ more than mean %s p99 %s\n", argv[1], argv[2], argv[3], argv[4]);
    return 1;
  }
  return 0;
}
