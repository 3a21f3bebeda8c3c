#pragma once
// Loading what the scene draws from the resource archive (all but the star list): the
// flare, cloud, surface and moon textures and the moon's shape. A failure is shown to the
// user with a stop icon, asks for the end of the run and stops the loading there.
#include <cstddef>
#include <cstdint>

struct Scene;
struct SceneTextures;

// Once, with the rendering context current; fills scene.textures, scene.moon and
// scene.sceneBuffers through scene.host.
void LoadSceneResources(Scene& scene);

// Frees the retained pixel buffers; the rendering window calls it when it is destroyed.
void ReleaseSceneBuffers(Scene& scene);

// With the context current: deletes the textures and cover lists that LoadSceneResources
// created and sets their names back to 0.
void ReleaseSceneTextures(SceneTextures& textures);

// The inner cloud shell's picture: every pixel of `rgb` (3 or 4 bytes each, per
// `bytesPerPixel`) becomes grey 255 - floor((R + G + B) / 3) in the 3-byte pixels of `out`.
void InvertToGrey(const uint8_t* rgb, size_t pixelCount, int bytesPerPixel, uint8_t* out);
