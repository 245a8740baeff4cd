#include "core/math.h"

#include <cmath>

namespace lw {

bool isNoDirection(Vector3 v) {
  return v.x == kNoDirection && v.y == kNoDirection && v.z == kNoDirection;
}

bool isNoDirection(Quaternion q) {
  return q.w == kNoDirection && q.x == kNoDirection && q.y == kNoDirection && q.z == kNoDirection;
}

bool isNoAngle(Quaternion q) {
  return q.w == kNoAngle && q.x == kNoAngle && q.y == kNoAngle && q.z == kNoAngle;
}

Quaternion conjugate(Quaternion q) { return {q.w, -q.x, -q.y, -q.z}; }

Quaternion quaternionMultiply(Quaternion a, Quaternion b) {
  const double aw = a.w, ax = a.x, ay = a.y, az = a.z;
  const double bw = b.w, bx = b.x, by = b.y, bz = b.z;
  return {static_cast<float>(aw * bw - ax * bx - ay * by - az * bz),
          static_cast<float>(aw * bx + ax * bw + ay * bz - az * by),
          static_cast<float>(aw * by + ay * bw + az * bx - ax * bz),
          static_cast<float>(aw * bz + az * bw + ax * by - ay * bx)};
}

Vector3 normalize(Vector3 v) {
  const float xx = static_cast<float>(double(v.x) * v.x);
  const float yy = static_cast<float>(double(v.y) * v.y);
  const float zz = static_cast<float>(double(v.z) * v.z);
  const float sum = static_cast<float>(double(xx) + yy + zz);
  const float len = static_cast<float>(std::sqrt(double(sum)));
  if (len == 0.0f) return kNoDirectionVector;
  return {static_cast<float>(double(v.x) / len), static_cast<float>(double(v.y) / len),
          static_cast<float>(double(v.z) / len)};
}

Vector2d normalize2D(double a, double b) {
  const double len = std::sqrt(a * a + b * b);
  if (len == 0.0) return {kNoDirection, kNoDirection};
  return {a / len, b / len};
}

float vectorLength(Vector3 v) {
  return static_cast<float>(std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z));
}

double angleBetween(Vector3 u, Vector3 v) {
  const double uu = double(u.x) * u.x + double(u.y) * u.y + double(u.z) * u.z;
  const double vv = double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z;
  const float product = static_cast<float>(uu * vv);
  const float p = static_cast<float>(std::sqrt(double(product)));
  if (p == 0.0f) return kNoAngle;
  const double c = (double(u.x) * v.x + double(u.y) * v.y + double(u.z) * v.z) / p;
  if (c > 1.0) return 0.0;
  if (c < -1.0) return 180.0;
  return std::acos(c) * 180.0 / kPi;
}

Vector3 crossProduct(Vector3 u, Vector3 v) {
  return {static_cast<float>(double(u.y) * v.z - double(u.z) * v.y),
          static_cast<float>(double(u.z) * v.x - double(u.x) * v.z),
          static_cast<float>(double(u.x) * v.y - double(u.y) * v.x)};
}

Quaternion axisAngleToQuaternion(Vector3 axis, double angleDegrees) {
  const Vector3 n = normalize(axis);
  if (isNoDirection(n)) return kNoDirectionQuaternion;
  const double h = angleDegrees * kPi / 360.0;
  const double s = std::sin(h);
  return {static_cast<float>(std::cos(h)), static_cast<float>(-s * n.x),
          static_cast<float>(-s * n.y), static_cast<float>(-s * n.z)};
}

Vector3 rotateVector(Quaternion q, Vector3 v) {
  const Quaternion t = quaternionMultiply(conjugate(q), Quaternion{0.0f, v.x, v.y, v.z});
  const Quaternion r = quaternionMultiply(t, q);
  return {r.x, r.y, r.z};
}

Quaternion frameAlignQuaternion(Vector3 a, Vector3 b, Vector3 c, Vector3 d) {
  const Vector3 na = normalize(a), nb = normalize(b), nc = normalize(c), nd = normalize(d);
  Quaternion q1 = kIdentityQuaternion;
  const Vector3 k = crossProduct(na, nc);
  if (!(k.x == 0.0f && k.y == 0.0f && k.z == 0.0f)) {
    q1 = axisAngleToQuaternion(normalize(k), angleBetween(na, nc));
  }
  const Vector3 a1 = rotateVector(q1, na);
  const Vector3 b1 = rotateVector(q1, nb);
  Quaternion q2 = kIdentityQuaternion;
  if (!(b1 == nd)) {
    const double theta2 = angleBetween(normalize(b1), nd);
    if (theta2 == kNoAngle) return kNoAngleQuaternion;
    q2 = axisAngleToQuaternion(normalize(a1), theta2);
  }
  return quaternionMultiply(q1, q2);
}

Matrix4 quaternionToMatrix(Quaternion q) {
  const double w = q.w, x = q.x, y = q.y, z = q.z;
  Matrix4 r;
  r.m = {static_cast<float>(1 - 2 * (y * y + z * z)), static_cast<float>(2 * (x * y - w * z)),
         static_cast<float>(2 * (x * z + w * y)),     0.0f,
         static_cast<float>(2 * (x * y + w * z)),     static_cast<float>(1 - 2 * (x * x + z * z)),
         static_cast<float>(2 * (y * z - w * x)),     0.0f,
         static_cast<float>(2 * (x * z - w * y)),     static_cast<float>(2 * (y * z + w * x)),
         static_cast<float>(1 - 2 * (x * x + y * y)), 0.0f,
         0.0f,                                        0.0f,
         0.0f,                                        1.0f};
  return r;
}

Matrix4 matrixMultiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 r;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += double(a.at(row, k)) * b.at(k, col);
      r.at(row, col) = static_cast<float>(sum);
    }
  }
  return r;
}

Matrix4 identityMatrix() {
  Matrix4 r;
  r.m = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  return r;
}

Vector3 cameraDirection(double elevationDegrees, double azimuthDegrees) {
  const Quaternion qa = axisAngleToQuaternion({1, 0, 0}, elevationDegrees);
  const Quaternion qb = axisAngleToQuaternion({0, 1, 0}, azimuthDegrees);
  const Quaternion t = quaternionMultiply(conjugate(qa), conjugate(qb));
  return rotateVector(t, {0, 0, 1});
}

}  // namespace lw
