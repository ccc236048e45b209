// One-time scene set-up: scene, textures, fog, lights, particles, banner.
#pragma once

void SetupScene();
