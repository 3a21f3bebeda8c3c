#pragma once
// The camera: eye, target and up vector in world units (planet radii).

struct Camera {
  double eye[3] = {1.0, 1.0, 1.0};
  double target[3] = {0.0, 0.0, 0.0};
  double up[3] = {0.0, 1.0, 0.0};

  // gluLookAt with the nine values on the current model-view matrix.
  bool Apply() const;
};
