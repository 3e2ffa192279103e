// Numbers of the renderer's perspective projection.
#pragma once

constexpr double fieldOfViewDegrees = 45.0;
// The near plane is the float 0.01 widened to double (0.009999999776482582), not the double 0.01.
constexpr double nearPlane = static_cast<double>(0.01f);
constexpr double farPlane = 5000.0;

// The exact quotient of the client size; a zero height is taken as 1.
inline double perspectiveAspect(int width, int height)
{
    return static_cast<double>(width) / static_cast<double>(height == 0 ? 1 : height);
}
