#include "effects/setup.h"

// The scene set-up comes with the scene loader and the textures.
Banner ShowBanner;

void SetupScene() {}
