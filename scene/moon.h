#pragma once
// The moon: its shape from phobos2.dat and its mipmapped texture from phobos2.jpg, on its
// orbit of radius 2.765 in the planet's equator plane (z = 0), advancing
// 3.2172961842867256 degrees and spinning 10 degrees per unit of SceneTime.
#include "scene/gl_objects.h"
#include "scene/scene_load_error.h"
#include "scene/shape_mesh.h"

class PictureLoader;

inline constexpr double kMoonOrbitRadius = 2.765;
inline constexpr double kMoonOrbitDegreesPerTime = 3.2172961842867256;
inline constexpr double kMoonSpinDegreesPerTime = 10.0;
// The shape's longest axis runs from -1 to 1; the moon is 0.01 planet radii long.
inline constexpr float kMoonScale = 0.005f;

struct Moon {
  ShapeMesh shape;    // phobos2.dat
  GlTexture texture;  // phobos2.jpg

  // With the context current: the texture, then the shape.
  SceneLoadResult Load(PictureLoader& loader);
  // Compiles the shape's list when there is none yet.
  void Compile() { shape.Compile(); }
  // With the context current: deletes the texture and empties the shape with its list.
  void Release();
};

// World position of the moon's centre at the given SceneTime.
void MoonPosition(double sceneTime, double position[3]);

// Places, textures and draws the moon on the current model-view matrix (the camera),
// which it changes: the caller pushes and pops around it.
void DrawMoon(Moon& moon, double sceneTime);
