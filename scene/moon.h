#pragma once
// The moon on its orbit: radius 2.765 in the planet's equator plane (z = 0), advancing
// 3.2172961842867256 degrees and spinning 10 degrees per unit of SceneTime.
class ShapeMesh;

inline constexpr double kMoonOrbitRadius = 2.765;
inline constexpr double kMoonOrbitDegreesPerTime = 3.2172961842867256;
inline constexpr double kMoonSpinDegreesPerTime = 10.0;
// The shape's longest axis runs from -1 to 1; the moon is 0.01 planet radii long.
inline constexpr float kMoonScale = 0.005f;

// World position of the moon's centre at the given SceneTime.
void MoonPosition(double sceneTime, double position[3]);

// Places, textures and draws the moon on the current model-view matrix (the camera),
// which it changes: the caller pushes and pops around it.
void DrawMoon(ShapeMesh& shape, unsigned int texture, double sceneTime);
