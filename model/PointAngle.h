#pragma once

// The angle of the vector (x, y) in radians, as "arg" and the complex
// logarithm give it: in [0, 2π) when Options.AngleArea is 1, else in (−π, π].
// The zero vector gives π/2; callers that must refuse it check first.
long double PointAngle(long double x, long double y);
