// The 3D window driven with real mouse messages at the window positions of world
// points: joint placement on the sample model and beside it, a child joint, an FK
// drag, a camera drag and vertex picking. The suite runs once per presenter
// (LW_PRESENT_MODE), and picking must not notice which one draws.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "render/primitives.h"
#include "skeleton/placement.h"
#include "resources/resource.h"

namespace lw {
namespace {

constexpr char kRootJoint[] = "Joint0";

std::string gScratch;  // the folder the sample files are copied into

bool chooseSampleModel(HWND, const FileDialogRequest&, FileChoice& choice) {
  choice = {gScratch + "character.obj", "character.obj"};
  return true;
}

class ViewInputGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    gScratch = toCp932(current) + "\\gui_view_input\\";
    CreateDirectoryW(toWide(gScratch).c_str(), nullptr);
    for (const char* name : {"character.obj", "character.mtl", "character.bmp"}) {
      CopyFileW(toWide(test::samplesFolder() + name).c_str(), toWide(gScratch + name).c_str(), FALSE);
    }
    chooseFile = chooseSampleModel;
    ASSERT_TRUE(test::startProgram());
    ASSERT_NE(program().presenter.context, nullptr);
    command(IDM_FILE_OPEN);
    ASSERT_EQ(doc().modelLoaded, 1);
    ASSERT_NE(doc().skinBuffers, nullptr);
  }
  void TearDown() override {
    test::endProgram();
    chooseFile = showCommonFileDialog;
  }

  static SceneDocument& doc() { return program().doc; }
  static HWND view() { return program().windows.view; }

  // A menu command, then the repaint it asks for.
  static void command(int id) {
    SendMessageW(program().windows.main, WM_COMMAND, id, 0);
    repaint();
  }
  static void repaint() {
    InvalidateRect(view(), nullptr, FALSE);
    UpdateWindow(view());
    test::pumpPending();
  }

  // Window depth (0..1) of a world point in the last frame.
  static double windowDepthOf(const Vector3& p) { return project(p)[2]; }

  // The model corner nearest the camera: nothing of the model can lie in front
  // of it, so both the surface probe and the nearest vertex marker find it.
  static Vector3 frontCorner(double* depth = nullptr) {
    Vector3 best{};
    double bestDepth = 2;
    for (const SkinPart& part : doc().skinBuffers->parts) {
      for (const Vector3& p : part.skinPositions) {
        const double d = windowDepthOf(p);
        if (d < bestDepth) {
          bestDepth = d;
          best = p;
        }
      }
    }
    if (depth != nullptr) *depth = bestDepth;
    return best;
  }

  // Window position (x, y up, depth) of a world point in the last frame.
  static std::array<double, 3> project(const Vector3& p) {
    const Program& prog = program();
    const GLint viewport[4] = {0, 0, prog.doc.clientWidth, prog.doc.clientHeight};
    std::array<double, 3> w{};
    gluProject(p.x, p.y, p.z, prog.renderState.camera.modelView,
               prog.renderState.camera.projection, viewport, &w[0], &w[1], &w[2]);
    return w;
  }

  // A corner whose marker few other markers cover on screen. Every corner of the
  // model has its own marker, front and back alike, so where many crowd under
  // one pixel the 25 hit records of the selection buffer overflow and the pick
  // counts as a miss; a sparse spot keeps the pick within the buffer.
  static Vector3 sparseCorner(int* crowd) {
    std::vector<Vector3> corners;
    for (const SkinPart& part : doc().skinBuffers->parts) {
      corners.insert(corners.end(), part.skinPositions.begin(), part.skinPositions.end());
    }
    std::vector<std::array<double, 3>> at;
    for (const Vector3& p : corners) at.push_back(project(p));
    // A marker's on-screen reach (its radius, with room to spare) at the middle corner.
    const Vector3 mid = corners[corners.size() / 2];
    const auto edge = project({mid.x + 1.5f * kVertexMarkerRadius, mid.y, mid.z});
    const double reach = std::hypot(edge[0] - at[corners.size() / 2][0],
                                    edge[1] - at[corners.size() / 2][1]);
    size_t best = 0;
    int bestCrowd = 1 << 30;
    for (size_t i = 0; i < corners.size(); i += 17) {
      int n = 0;
      for (const auto& w : at) {
        if (std::hypot(w[0] - at[i][0], w[1] - at[i][1]) <= reach) ++n;
      }
      if (n < bestCrowd) {
        bestCrowd = n;
        best = i;
      }
    }
    *crowd = bestCrowd;
    return corners[best];
  }

  static Joint* joint(const std::string& name) {
    const auto found = doc().skeleton.joints.find(name);
    return found == doc().skeleton.joints.end() ? nullptr : found->second;
  }

  // The base joint placed by a click on the model's front corner.
  static Joint* placeBaseOnModel() {
    command(IDM_PLACE_ROOT);
    test::clickView(test::viewPointOf(frontCorner()));
    repaint();
    return joint(kRootJoint);
  }

  // A child of `parent` placed by clicking the parent and then `offset` pixels
  // away from it.
  static Joint* placeChild(const Joint* parent, POINT offset) {
    command(IDM_PLACE_CHILD);
    const POINT from = test::viewPointOf(parent->jointWorldPosition);
    test::clickView(from);
    const size_t before = doc().skeleton.jointOrder.size();
    test::clickView({from.x + offset.x, from.y + offset.y});
    repaint();
    return doc().skeleton.jointOrder.size() == before + 1
               ? doc().skeleton.jointOrder.back().get()
               : nullptr;
  }

  static POINT shownAt(const Joint* j) { return test::viewPointOf(j->jointDrawPositionAfterPosEnter); }
};

void expectNear(POINT a, POINT b, LONG pixels) {
  EXPECT_LE(std::abs(a.x - b.x), pixels) << a.x << " vs " << b.x;
  EXPECT_LE(std::abs(a.y - b.y), pixels) << a.y << " vs " << b.y;
}

TEST_F(ViewInputGuiTest, BaseJointGoesIntoTheModelUnderTheCursor) {
  test::DialogScript script({});
  double frontDepth = 0;
  const Vector3 corner = frontCorner(&frontDepth);
  const POINT at = test::viewPointOf(corner);
  Joint* base = placeBaseOnModel();
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(doc().editMode, PlaceRootJoint);
  const float depth = program().viewInput.pickDepth;
  EXPECT_NE(depth, 0.888f);
  // The probe's depth is the middle of what the model covers under the cursor:
  // not in front of its nearest corner, and the joint shows where the click was.
  EXPECT_GE(depth, frontDepth - 1e-4);
  EXPECT_LT(depth, 0.888f);
  expectNear(test::viewPointOf(base->jointWorldPosition), at, 1);
  EXPECT_NEAR(windowDepthOf(base->jointWorldPosition), depth, 1e-4);
  EXPECT_TRUE(script.seen().empty());
}

TEST_F(ViewInputGuiTest, BaseJointOverEmptySpaceUsesDepth0888) {
  test::DialogScript script({});
  command(IDM_PLACE_ROOT);
  const POINT at{8, 8};
  test::clickView(at);
  repaint();
  Joint* base = joint(kRootJoint);
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(program().viewInput.pickDepth, 0.888f);
  expectNear(test::viewPointOf(base->jointWorldPosition), at, 1);
  EXPECT_NEAR(windowDepthOf(base->jointWorldPosition), 0.888, 1e-4);
  // A second click moves the only joint instead of adding one.
  const POINT next{30, 12};
  test::clickView(next);
  repaint();
  EXPECT_EQ(doc().skeleton.joints.size(), 1u);
  expectNear(test::viewPointOf(base->jointWorldPosition), next, 1);
  EXPECT_TRUE(script.seen().empty());
}

TEST_F(ViewInputGuiTest, ChildJointHangsFromTheClickedParentAtTheSecondClick) {
  test::DialogScript script({});
  Joint* base = placeBaseOnModel();
  ASSERT_NE(base, nullptr);
  command(IDM_PLACE_CHILD);
  EXPECT_EQ(doc().editMode, PlaceChildJoint);
  const POINT parentAt = test::viewPointOf(base->jointWorldPosition);
  test::clickView(parentAt);
  EXPECT_EQ(doc().editMode, 12) << "the parent is chosen, the next click places";
  EXPECT_EQ(doc().parentJointName, kRootJoint);
  const POINT childAt{parentAt.x + 120, parentAt.y - 40};
  test::clickView(childAt);
  repaint();
  EXPECT_EQ(doc().editMode, PlaceChildJoint);
  ASSERT_EQ(doc().skeleton.joints.size(), 2u);
  const Joint* child = doc().skeleton.jointOrder.back().get();
  EXPECT_EQ(child->parent, base);
  expectNear(test::viewPointOf(child->jointWorldPosition), childAt, 1);
  // Hovering over empty space picks nothing and leaves the mode armed.
  test::hoverView({childAt.x + 200, childAt.y});
  EXPECT_EQ(doc().editMode, PlaceChildJoint);
  EXPECT_EQ(doc().selectedJoint, -1);
  EXPECT_TRUE(script.seen().empty());
}

TEST_F(ViewInputGuiTest, FkDragTurnsThePickedJointOneDegreePerStep) {
  test::DialogScript script({});
  Joint* base = placeBaseOnModel();
  ASSERT_NE(base, nullptr);
  command(IDM_PLACE_CHILD);
  const POINT parentAt = test::viewPointOf(base->jointWorldPosition);
  test::clickView(parentAt);
  test::clickView({parentAt.x + 150, parentAt.y});
  ASSERT_EQ(doc().skeleton.joints.size(), 2u);
  Joint* child = doc().skeleton.jointOrder.back().get();
  command(IDM_FIX_POSITIONS);
  ASSERT_EQ(doc().decitionJointPosition, 1);
  command(IDM_ROTATE_FK);
  ASSERT_EQ(doc().editMode, RotateFk);
  const float before = child->axisAngle;
  const POINT from = test::viewPointOf(child->jointDrawPositionAfterPosEnter);
  test::dragView(from, {from.x + 12, from.y + 3}, 12);
  EXPECT_EQ(doc().editedJointName, child->jointName);
  EXPECT_FLOAT_EQ(child->axisAngle, before + 12);
  EXPECT_EQ(doc().editMode, RotateFk) << "the release returns to the armed value";
  EXPECT_EQ(GetCapture(), nullptr);
  // A drag whose mouse capture another window takes ends there: the release
  // will not come to the 3D window.
  const POINT grab = test::viewPointOf(child->jointDrawPositionAfterPosEnter);
  test::hoverView(grab);
  SendMessageW(view(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  ASSERT_EQ(GetCapture(), view());
  ASSERT_EQ(doc().editMode, 20);
  SetCapture(program().windows.main);
  ReleaseCapture();
  EXPECT_EQ(doc().editMode, RotateFk);
  EXPECT_EQ(program().viewInput.dragActive, 0);
  const float released = child->axisAngle;
  SendMessageW(view(), WM_MOUSEMOVE, 0, MAKELPARAM(grab.x + 9, grab.y));
  test::pumpPending();
  EXPECT_EQ(child->axisAngle, released);
  // Leftward moves turn it back.
  const POINT again = test::viewPointOf(child->jointDrawPositionAfterPosEnter);
  test::dragView(again, {again.x - 5, again.y}, 5);
  EXPECT_FLOAT_EQ(child->axisAngle, before + 7);
  EXPECT_TRUE(script.seen().empty());
}

TEST_F(ViewInputGuiTest, RightDragTurnsTheCameraWithTheMouseCaptured) {
  command(IDM_PLACE_ROOT);
  const float azimuth = doc().viewAzimuth;
  const float elevation = doc().viewElevation;
  const double before = program().renderState.camera.modelView[0];
  const POINT from{300, 300};
  const LPARAM at = MAKELPARAM(from.x, from.y);
  SendMessageW(view(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  EXPECT_EQ(GetCapture(), view());
  SendMessageW(view(), WM_RBUTTONUP, 0, at);
  EXPECT_EQ(GetCapture(), nullptr);
  test::pumpPending();
  EXPECT_EQ(doc().viewAzimuth, azimuth) << "a press without a move turns nothing";
  test::dragView(from, {from.x + 40, from.y}, 8, true);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_NEAR(doc().viewAzimuth - azimuth, 40 * 360.0 / 824, 1e-3);
  EXPECT_EQ(doc().viewElevation, elevation);
  EXPECT_EQ(doc().editMode, PlaceRootJoint) << "no edit operation ran";
  EXPECT_TRUE(doc().skeleton.joints.empty());
  repaint();
  EXPECT_NE(program().renderState.camera.modelView[0], before);
}

TEST_F(ViewInputGuiTest, VertexPickThenRightClickAsksForASelectionOrOpensTheDialog) {
  command(IDM_WEIGHT_BY_VERTEX);
  ASSERT_EQ(doc().editMode, WeightByVertex);
  int crowd = 0;
  const Vector3 corner = sparseCorner(&crowd);
  ASSERT_LE(crowd, 20);
  const POINT at = test::viewPointOf(corner);
  test::hoverView(at);
  EXPECT_EQ(doc().editMode, 23);
  EXPECT_GE(doc().selectedJoint, 1000);
  {
    test::DialogScript script({test::acknowledge("頂点未選択")});
    SendMessageW(view(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(view(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    test::pumpPending();
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].text, test::wide("頂点を1つ以上選択してください。"));
    EXPECT_EQ(script.stepsLeft(), 0u);
    EXPECT_EQ(GetCapture(), nullptr) << "no camera drag started";
  }
  test::clickView(at);
  ASSERT_EQ(doc().vertexSelection.size(), 1u);
  const CornerRef picked = doc().vertexSelection[0];
  const Vector3 p = doc().skinBuffers->parts[picked.part].skinPositions[picked.corner];
  expectNear(test::viewPointOf(p), at, 3);
  {
    test::DialogScript script(
        {{test::wide("頂点を選択して重み付け"), [](HWND d) { test::pressButton(d, IDCANCEL); }}});
    SendMessageW(view(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(view(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    test::pumpPending();
    EXPECT_EQ(script.stepsLeft(), 0u);
    EXPECT_EQ(script.unanswered(), 0);
  }
  EXPECT_TRUE(doc().vertexSelection.empty());
}

TEST_F(ViewInputGuiTest, PlacementCommandsActOnTheJointUnderTheCursor) {
  test::DialogScript script({{test::wide("ジョイントに名前をつける"), [](HWND box) {
                                SetDlgItemTextW(box, IDC_JOINT_NAME, test::wide("右肘").c_str());
                                test::pressButton(box, IDOK);
                              }}});
  Joint* base = placeBaseOnModel();
  ASSERT_NE(base, nullptr);
  Joint* a = placeChild(base, {100, -40});
  ASSERT_NE(a, nullptr);
  Joint* b = placeChild(base, {-100, -40});
  ASSERT_NE(b, nullptr);
  Joint* c = placeChild(a, {60, 60});
  ASSERT_NE(c, nullptr);

  // Moving: the joint follows the cursor at the depth it was picked at.
  command(IDM_MOVE_CHILD);
  const POINT from = test::viewPointOf(a->jointWorldPosition);
  const double depth = windowDepthOf(a->jointWorldPosition);
  const POINT to{from.x + 20, from.y + 10};
  test::dragView(from, to, 5);
  EXPECT_EQ(doc().editMode, MoveChildJoint);
  expectNear(test::viewPointOf(a->jointWorldPosition), to, 1);
  EXPECT_NEAR(windowDepthOf(a->jointWorldPosition), depth, 2e-3);

  // Naming through dialog 109.
  command(IDM_NAME_JOINT);
  test::clickView(test::viewPointOf(c->jointWorldPosition));
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(c->TreeName, toCp932(test::wide("右肘")));
  EXPECT_EQ(doc().editMode, NameJoint);

  // Mirroring in the YZ plane: the first joint clicked is the source.
  command(IDM_MIRROR_YZ);
  test::clickView(test::viewPointOf(a->jointWorldPosition));
  test::clickView(test::viewPointOf(b->jointWorldPosition));
  EXPECT_FLOAT_EQ(b->jointWorldPosition.x, -a->jointWorldPosition.x);
  EXPECT_FLOAT_EQ(b->jointWorldPosition.y, a->jointWorldPosition.y);
  EXPECT_FLOAT_EQ(b->jointWorldPosition.z, a->jointWorldPosition.z);
  EXPECT_EQ(doc().editMode, MirrorJoint);

  // Deleting.
  const std::string gone = c->jointName;
  command(IDM_DELETE_CHILD);
  test::clickView(test::viewPointOf(c->jointWorldPosition));
  EXPECT_EQ(joint(gone), nullptr);
  EXPECT_EQ(doc().skeleton.joints.size(), 3u);
  EXPECT_EQ(doc().editMode, DeleteChildJoint);
  EXPECT_EQ(script.seen().size(), 1u) << "no other box than the name dialog";
}

TEST_F(ViewInputGuiTest, PosingCommandsActOnTheJointUnderTheCursor) {
  test::DialogScript script({{test::wide("IKでのジョイントの回転"), [](HWND box) {
                                CheckRadioButton(box, IDC_IK_STOP_ON, IDC_IK_STOP_OFF,
                                                 IDC_IK_STOP_ON);
                                test::pressButton(box, IDOK);
                              }}});
  Joint* base = placeBaseOnModel();
  ASSERT_NE(base, nullptr);
  Joint* upper = placeChild(base, {30, -110});
  ASSERT_NE(upper, nullptr);
  Joint* lower = placeChild(upper, {60, -80});
  ASSERT_NE(lower, nullptr);
  command(IDM_FIX_POSITIONS);
  ASSERT_EQ(doc().decitionJointPosition, 1);

  // IK: the end joint is pulled towards the cursor.
  command(IDM_ROTATE_IK);
  const POINT from = shownAt(lower);
  const POINT to{from.x + 40, from.y + 40};
  test::dragView(from, to, 8);
  repaint();
  EXPECT_EQ(doc().editMode, RotateIk);
  const POINT now = shownAt(lower);
  EXPECT_LT(std::hypot(now.x - to.x, now.y - to.y), std::hypot(from.x - to.x, from.y - to.y) - 10);

  // Stopping IK at a joint through dialog 108.
  command(IDM_STOP_IK);
  test::clickView(shownAt(upper));
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(upper->ik_stopFlg, 1);

  // Moving the base joint along X: one 0.02 step per move, the first one
  // measured from the press (the IK drag ended far to the right).
  command(IDM_MOVE_ROOT_X);
  const Vector3 rest = base->initPoseBoneVector;
  const POINT root = shownAt(base);
  test::dragView({root.x - 1, root.y}, {root.x + 4, root.y}, 5);
  EXPECT_NEAR(base->initPoseBoneVector.x - rest.x, 5 * 0.02f, 1e-5);
  EXPECT_EQ(base->initPoseBoneVector.y, rest.y);
  EXPECT_EQ(doc().editMode, MoveRootJoint);

  // Equalising: the second joint clicked gets the first one's bone length.
  command(IDM_ROTATE_FK);
  command(IDM_EQUALISE_BONES);
  test::clickView(shownAt(upper));
  EXPECT_EQ(doc().editMode, 42);
  EXPECT_EQ(GetCapture(), nullptr);
  test::clickView(shownAt(lower));
  EXPECT_EQ(doc().editMode, EqualiseBoneLengths);
  EXPECT_NEAR(vectorLength(lower->initPoseBoneVector), vectorLength(upper->initPoseBoneVector), 1e-4);

  // The Y preset of the axis edit: dragging a joint's axis handle turns its
  // rotation axis onto Y and clears its angle.
  command(IDM_SHOW_FK_AXES);
  command(IDM_AXIS_Y);
  lower->axisAngle = 30;
  const POINT handle = test::viewPointOf(upper->jointDrawPositionAfterPosEnter + lower->drawAxisVector);
  test::hoverView(handle);
  ASSERT_EQ(doc().editMode, 30);
  EXPECT_EQ(doc().selectedJoint, lower->jointID + 10000);
  test::dragView(handle, {handle.x + 6, handle.y}, 3);
  EXPECT_EQ(lower->axisVector, (Vector3{0, 1, 0}));
  EXPECT_EQ(lower->axisAngle, 0);
  EXPECT_EQ(doc().editMode, EditFkAxis);
  EXPECT_EQ(script.seen().size(), 1u) << "no other box than the IK stop dialog";
}

TEST_F(ViewInputGuiTest, WeightingBoxIsPlacedByAClickAndItsFrontFaceDragged) {
  test::DialogScript script({});
  command(IDM_PLACE_WEIGHT_BOX);
  const POINT at = test::viewPointOf(frontCorner());
  test::clickView(at);
  ASSERT_EQ(doc().weightBoxShown, 1);
  EXPECT_EQ(doc().editMode, PlaceWeightBox);
  const auto& c = doc().weightBox.corners;
  Vector3 centre{};
  for (const auto& corner : c) {
    centre.x += static_cast<float>(corner[0] / 8);
    centre.y += static_cast<float>(corner[1] / 8);
    centre.z += static_cast<float>(corner[2] / 8);
  }
  expectNear(test::viewPointOf(centre), at, 1);

  // The z+ face looks at the camera; dragging right pushes it out along +z.
  command(IDM_MOVE_BOX_FACE);
  repaint();
  const double front = c[4][2];
  const double back = c[0][2];
  const Vector3 onFace{centre.x, centre.y, static_cast<float>(front)};
  const POINT from = test::viewPointOf(onFace);
  test::dragView(from, {from.x + 5, from.y}, 5);
  EXPECT_NEAR(c[4][2] - front, 5 * 0.02, 1e-6);
  EXPECT_EQ(c[0][2], back);
  EXPECT_EQ(doc().editMode, MoveWeightBoxFace);
  EXPECT_TRUE(script.seen().empty());
}

TEST_F(ViewInputGuiTest, DeletingAJointAfterThePositionsAreFixedIsRefusedWithAMessage) {
  test::DialogScript script({test::acknowledge(kDeleteAfterFixTitle)});
  Joint* base = placeBaseOnModel();
  ASSERT_NE(base, nullptr);
  command(IDM_PLACE_CHILD);
  const POINT parentAt = test::viewPointOf(base->jointWorldPosition);
  test::clickView(parentAt);
  test::clickView({parentAt.x + 150, parentAt.y});
  ASSERT_EQ(doc().skeleton.joints.size(), 2u);
  Joint* child = doc().skeleton.jointOrder.back().get();
  command(IDM_FIX_POSITIONS);
  ASSERT_EQ(doc().decitionJointPosition, 1);
  command(IDM_DELETE_CHILD);
  test::clickView(shownAt(child));
  EXPECT_EQ(doc().skeleton.joints.size(), 2u);
  EXPECT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(script.seen().size(), 1u);
  EXPECT_EQ(script.seen()[0].text, test::wide(kDeleteAfterFixText));
}

}  // namespace
}  // namespace lw
