// Vector, quaternion and matrix math shared by every geometric module.
//
// Conventions (binding for the whole program):
//  - Quaternions are stored scalar first (w, x, y, z).
//  - A quaternion q turns a vector v as the vector part of conj(q) * (0, v) * q.
//  - axisAngleToQuaternion(axis, a) stores (cos(a/2), -sin(a/2) * n): the vector
//    part is negated, so the turn is right-handed about the axis under the rule above.
//  - quaternionMultiply(a, b) applied to a vector turns it first by a, then by b.
//  - Matrix4 is row-major (element (r, c) at 4r + c) and acts on column vectors.
//    The matrix of q turns vectors the opposite way to rotateVector(q, v).
//  - Angles cross every interface in degrees.
//
// Failures are carried by sentinels, never by exceptions: kNoDirection (-999) in
// every component of a vector or quaternion that has no direction, kNoAngle (-990)
// for an angle (or every component of a quaternion) that could not be formed.
// Compare with these exact values.
//
// Arithmetic: inputs and results are 32-bit floats; intermediate sums and
// products are formed in double and rounded to float where the function says so.
#pragma once

#include <array>

namespace lw {

inline constexpr double kPi = 3.141592653589793;
inline constexpr float kNoDirection = -999.0f;
inline constexpr float kNoAngle = -990.0f;

struct Vector3 {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const Vector3&, const Vector3&) = default;
};

struct Quaternion {
  float w = 1, x = 0, y = 0, z = 0;
  friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

struct Matrix4 {
  std::array<float, 16> m{};  // row-major
  float& at(int r, int c) { return m[4 * r + c]; }
  float at(int r, int c) const { return m[4 * r + c]; }
  friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

struct Vector2d {
  double x = 0, y = 0;
  friend bool operator==(const Vector2d&, const Vector2d&) = default;
};

inline constexpr Quaternion kIdentityQuaternion{1, 0, 0, 0};
inline constexpr Vector3 kNoDirectionVector{kNoDirection, kNoDirection, kNoDirection};
inline constexpr Quaternion kNoDirectionQuaternion{kNoDirection, kNoDirection, kNoDirection,
                                                   kNoDirection};
inline constexpr Quaternion kNoAngleQuaternion{kNoAngle, kNoAngle, kNoAngle, kNoAngle};

// Component-wise helpers; each result component is one float operation.
inline Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// True when every component equals the no-direction sentinel exactly.
bool isNoDirection(Vector3 v);
bool isNoDirection(Quaternion q);
// True when every component equals the no-angle sentinel exactly.
bool isNoAngle(Quaternion q);

Quaternion conjugate(Quaternion q);

// Hamilton product a * b.
Quaternion quaternionMultiply(Quaternion a, Quaternion b);

// Unit vector; the squares, their sum and the root are each rounded to float.
// A length of exactly 0 gives kNoDirectionVector (no tolerance).
Vector3 normalize(Vector3 v);
inline Vector3 normalize(float x, float y, float z) { return normalize(Vector3{x, y, z}); }

// 2D unit direction in double; (kNoDirection, kNoDirection) for a zero vector.
Vector2d normalize2D(double a, double b);

float vectorLength(Vector3 v);

// Unsigned angle in degrees (0..180), kNoAngle when either vector is zero.
double angleBetween(Vector3 u, Vector3 v);

Vector3 crossProduct(Vector3 u, Vector3 v);

// (cos(a/2), -sin(a/2) * normalize(axis)); kNoDirectionQuaternion for a zero axis.
Quaternion axisAngleToQuaternion(Vector3 axis, double angleDegrees);

// Vector part of conj(q) * (0, v) * q.
Vector3 rotateVector(Quaternion q, Vector3 v);

// The turn carrying the direction pair (a, b) onto (c, d): first a onto c, then
// the turned b onto d about the turned a by the unsigned angle between them.
// kNoAngleQuaternion when the second angle cannot be formed.
Quaternion frameAlignQuaternion(Vector3 a, Vector3 b, Vector3 c, Vector3 d);

// Standard rotation matrix formula for the stored quaternion, not normalised.
Matrix4 quaternionToMatrix(Quaternion q);

// A * B, fully formed before it is returned.
Matrix4 matrixMultiply(const Matrix4& a, const Matrix4& b);

Matrix4 identityMatrix();

// Camera direction for an elevation and an azimuth in degrees:
// (-cos e sin a, sin e, cos e cos a).
Vector3 cameraDirection(double elevationDegrees, double azimuthDegrees);

}  // namespace lw
