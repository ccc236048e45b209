// The show's three generated textures. Each recipe sizes the generator and
// leaves its result in layer TEX_RESULT_LAYER (Width x Height RGB, row 0
// first), ready to become a texture with three bytes per pixel and alpha 255;
// the caller then ends the recipe with TexRelease. The recipes share the
// generator's random state, so the show runs them in the order A, B, C.
#pragma once

enum { TEX_RESULT_LAYER = 4 };

// A: 128 x 128, the swirled, colourful reflection map.
void RunReflectionRecipe();
// B: 256 x 256, the bark of the tree.
void RunTreeRecipe();
// C: 256 x 256, the snowy ground surface.
void RunSurfaceRecipe();
