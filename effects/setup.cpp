#include "effects/setup.h"

// The scene set-up comes with the scene loader and the textures.
void SetupScene() {}
