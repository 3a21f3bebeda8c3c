#pragma once
// A filled GLU sphere about the origin, with or without texture coordinates. GLU maps the
// sphere with t from 0 at z = -radius to 1 at z = +radius and s once around the z axis.
void SendQuadricSphere(double radius, int slices, int stacks, bool textured);
