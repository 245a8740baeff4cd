#include "core/math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lw {
namespace {

void expectNear(Vector3 v, float x, float y, float z, float eps = 1e-6f) {
  EXPECT_NEAR(v.x, x, eps);
  EXPECT_NEAR(v.y, y, eps);
  EXPECT_NEAR(v.z, z, eps);
}

TEST(Normalize, ZeroVectorHasNoDirection) {
  EXPECT_EQ(normalize(0, 0, 0), kNoDirectionVector);
}

TEST(Normalize, TinyVectorIsNormalisedWithoutTolerance) {
  EXPECT_EQ(normalize(0, 0, 1e-10f), (Vector3{0, 0, 1}));
}

TEST(Normalize, SquaresUnderflowingInFloatGiveNoDirection) {
  // 1e-25 squared is 1e-50, which underflows to 0 once rounded to float.
  EXPECT_EQ(normalize(0, 0, 1e-25f), kNoDirectionVector);
}

TEST(Normalize, TwoDimensionalZeroAndUnit) {
  EXPECT_EQ(normalize2D(0, 0), (Vector2d{-999.0, -999.0}));
  const Vector2d d = normalize2D(3, 4);
  EXPECT_DOUBLE_EQ(d.x, 0.6);
  EXPECT_DOUBLE_EQ(d.y, 0.8);
}

TEST(AngleBetween, ParallelOppositeAndZero) {
  EXPECT_EQ(angleBetween({1, 0, 0}, {2, 0, 0}), 0.0);
  EXPECT_EQ(angleBetween({1, 0, 0}, {-3, 0, 0}), 180.0);
  EXPECT_EQ(angleBetween({0, 0, 0}, {1, 0, 0}), -990.0);
  EXPECT_EQ(angleBetween({1, 0, 0}, {0, 0, 0}), -990.0);
  EXPECT_NEAR(angleBetween({1, 0, 0}, {0, 5, 0}), 90.0, 1e-9);
}

TEST(AngleBetween, ClampsRoundingOutsideTheCosineRange) {
  // Nearly parallel vectors whose float product rounds c above 1 still give 0.
  const Vector3 u{0.1f, 0.2f, 0.3f};
  const Vector3 v{0.3f, 0.6f, 0.9f};
  const double a = angleBetween(u, v);
  EXPECT_GE(a, 0.0);
  EXPECT_LT(a, 0.05);
}

TEST(AxisAngle, ZeroAxisHasNoDirection) {
  EXPECT_EQ(axisAngleToQuaternion({0, 0, 0}, 45), kNoDirectionQuaternion);
}

TEST(AxisAngle, VectorPartIsNegatedAndAxisNormalised) {
  const Quaternion q = axisAngleToQuaternion({0, 0, 2}, 90);
  EXPECT_FLOAT_EQ(q.w, static_cast<float>(std::cos(kPi / 4)));
  EXPECT_EQ(q.x, 0.0f);
  EXPECT_EQ(q.y, 0.0f);
  EXPECT_FLOAT_EQ(q.z, static_cast<float>(-std::sin(kPi / 4)));
}

TEST(RotateVector, RightHandedTurnAboutZ) {
  expectNear(rotateVector(axisAngleToQuaternion({0, 0, 1}, 90), {1, 0, 0}), 0, 1, 0);
}

TEST(QuaternionMultiply, FirstOperandTurnsFirst) {
  const Quaternion qz = axisAngleToQuaternion({0, 0, 1}, 90);
  const Quaternion qx = axisAngleToQuaternion({1, 0, 0}, 90);
  expectNear(rotateVector(quaternionMultiply(qz, qx), {1, 0, 0}), 0, 0, 1);
}

TEST(FrameAlign, IdenticalPairsGiveIdentity) {
  EXPECT_EQ(frameAlignQuaternion({1, 2, 3}, {-2, 1, 0}, {1, 2, 3}, {-2, 1, 0}),
            kIdentityQuaternion);
}

TEST(FrameAlign, CarriesPrimaryAndSecondaryDirections) {
  const Vector3 a{1, 0, 0}, b{0, 1, 0};
  const Vector3 c{0, 1, 0}, d{-1, 0, 0};
  const Quaternion q = frameAlignQuaternion(a, b, c, d);
  expectNear(rotateVector(q, a), 0, 1, 0);
  expectNear(rotateVector(q, b), -1, 0, 0);
}

TEST(FrameAlign, ZeroSecondaryDirectionIsAlignedAgainstTheSentinelNotRefused) {
  // A bone along Z has the secondary vector (0, 0, 0), which normalises to the
  // -999 sentinel; the angle against it is still formed, so no -990 comes back.
  const Quaternion q = frameAlignQuaternion({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0});
  EXPECT_FALSE(isNoAngle(q));
  const Vector3 x = rotateVector(q, {1, 0, 0});
  EXPECT_NEAR(x.z, 1.0f, 1e-6f);
}

TEST(QuaternionToMatrix, IdentityAndOppositeTurn) {
  EXPECT_EQ(quaternionToMatrix(kIdentityQuaternion), identityMatrix());
  const Quaternion q = axisAngleToQuaternion({0, 0, 1}, 90);
  const Matrix4 m = quaternionToMatrix(q);
  // The matrix turns (1, 0, 0) the other way to rotateVector: to (0, -1, 0).
  EXPECT_NEAR(m.at(0, 0), 0.0f, 1e-6f);
  EXPECT_NEAR(m.at(1, 0), -1.0f, 1e-6f);
  // The matrix of the conjugate turns the same way.
  const Matrix4 mc = quaternionToMatrix(conjugate(q));
  EXPECT_NEAR(mc.at(1, 0), 1.0f, 1e-6f);
}

TEST(QuaternionToMatrix, NonUnitQuaternionIsNotNormalised) {
  const Matrix4 m = quaternionToMatrix({2, 0, 0, 0});
  EXPECT_EQ(m, identityMatrix());  // w does not enter the diagonal
  const Matrix4 n = quaternionToMatrix({0, 2, 0, 0});
  EXPECT_EQ(n.at(1, 1), -7.0f);    // 1 - 2 * 4: not a rotation
}

TEST(MatrixMultiply, ProductOfRotationsMatchesComposedQuaternion) {
  const Quaternion a = axisAngleToQuaternion({0, 0, 1}, 30);
  const Quaternion b = axisAngleToQuaternion({1, 1, 0}, 70);
  const Matrix4 ab = matrixMultiply(quaternionToMatrix(a), quaternionToMatrix(b));
  const Matrix4 direct = quaternionToMatrix(quaternionMultiply(a, b));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(ab.m[i], direct.m[i], 1e-6f) << i;
}

TEST(CameraDirection, PresetAngles) {
  expectNear(cameraDirection(0, 0), 0, 0, 1);
  expectNear(cameraDirection(90, 0), 0, 1, 0);
  expectNear(cameraDirection(270, 0), 0, -1, 0);
  expectNear(cameraDirection(0, 90), -1, 0, 0);
  expectNear(cameraDirection(0, 180), 0, 0, -1);
  expectNear(cameraDirection(0, 270), 1, 0, 0);
}

TEST(CameraDirection, MatchesClosedForm) {
  for (double e : {-40.0, 15.0, 75.0}) {
    for (double a : {-120.0, 10.0, 200.0}) {
      const double er = e * kPi / 180, ar = a * kPi / 180;
      expectNear(cameraDirection(e, a), float(-std::cos(er) * std::sin(ar)), float(std::sin(er)),
                 float(std::cos(er) * std::cos(ar)), 1e-5f);
    }
  }
}

}  // namespace
}  // namespace lw
