#pragma once
// What stands between the eye and the sun, worked out on the processor: the planet's
// surface grid and the moon's mesh, each placed as the frame draws it. A line of sight is
// the stretch of a pixel centre's ray from the near plane to the sun's depth; it is hidden
// when it meets a face that the frame draws facing the eye, which is what the depth buffer
// would hold there. Asking the depth buffer instead makes a software renderer finish every
// triangle queued so far in the middle of the frame. Stars never hide the sun: they lie
// far beyond it, only the sky's sphere is drawn nearer.
#include "scene/shape_mesh.h"
#include "scene/sphere_mesh.h"

// A stretch of a line of sight in world units.
struct SightLine {
  double from[3];
  double to[3];
};

// A body as it is drawn: model = translate(centre) * rotate(spinDegrees about z) * scale.
struct BodyPlacement {
  double centre[3];
  double spinDegrees;
  double scale;
};

class SunOccluders {
 public:
  // Either mesh may be empty (nothing loaded): it hides nothing. Both must outlive this.
  SunOccluders(const SphereMesh& surface, const BodyPlacement& surfacePlace, const ShapeMesh& moon,
               const BodyPlacement& moonPlace);

  bool Hides(const SightLine& line) const;

 private:
  struct Body {
    BodyPlacement place;
    double outerRadius = 0.0;  // every vertex lies within it (local units)
    double innerRadius = 0.0;  // a convex body holds this ball whole; 0 for any other body
  };
  void MeasureBodies() const;

  const SphereMesh& surface_;
  const ShapeMesh& moon_;
  mutable bool measured_ = false;
  mutable Body surfaceBody_;
  mutable Body moonBody_;
};
