// A whole piece of work done the way a user does it: real menu commands, real
// mouse and key messages at the window positions of world points, real dialogs
// answered from a script. Open the sample character, place and fix a skeleton,
// weight the mesh with boxes and picked vertices, pose it with FK and IK, store
// three keyframes, play them with frame saving on, save the project, reopen it
// and compare.
//
// With LW_PICTURES_DIR set, the program's own captures of the rest pose, the
// posed character and one playback frame are copied there as rest.bmp,
// posed.bmp and playback.bmp (scripts/readme_pictures.sh turns them into the
// README's pictures).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/file_dialog.h"
#include "app/program.h"
#include "app/win_text.h"
#include "core/joint.h"
#include "edit/view_input.h"
#include "gui_harness.h"
#include "io/bmp.h"
#include "resources/resource.h"

namespace lw {
namespace {

std::string gChosenPath;  // what the next open or save dialog "chooses"

bool chooseScratchFile(HWND, const FileDialogRequest&, FileChoice& choice) {
  if (gChosenPath.empty()) return false;
  choice.path = gChosenPath;
  choice.title = gChosenPath.substr(gChosenPath.find_last_of('\\') + 1);
  return true;
}

std::vector<char> fileBytes(const std::string& cp932Path) {
  std::ifstream in(std::filesystem::path(toWide(cp932Path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& cp932Path) {
  return GetFileAttributesW(toWide(cp932Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The pixel at (x, y), y counted from the top, of a bottom-up 24-bit picture.
COLORREF pixelAt(const BmpTexture& picture, POINT at) {
  const size_t row = static_cast<size_t>(bmpRowBytes(picture.width));
  const size_t offset = row * static_cast<size_t>(picture.height - 1 - at.y) + 3 * static_cast<size_t>(at.x);
  const uint8_t* bgr = &picture.pixels[offset];
  return RGB(bgr[2], bgr[1], bgr[0]);
}

// The first line where two project texts differ by more than rounding: lines
// must be equal, or have the same key and numbers within 1e-4 (relative above
// 1). Empty when they agree.
std::string linesApart(const std::vector<char>& a, const std::vector<char>& b) {
  auto lines = [](const std::vector<char>& bytes) {
    std::vector<std::string> out(1);
    for (char c : bytes) {
      if (c == '\n') out.emplace_back(); else out.back() += c;
    }
    return out;
  };
  auto words = [](const std::string& line) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < line.size()) {
      const size_t end = std::min(line.find_first_of(" \r", at), line.size());
      if (end > at) out.push_back(line.substr(at, end - at));
      at = end + 1;
    }
    return out;
  };
  const std::vector<std::string> la = lines(a), lb = lines(b);
  if (la.size() != lb.size()) return "line counts " + std::to_string(la.size()) + " and " + std::to_string(lb.size());
  for (size_t i = 0; i < la.size(); ++i) {
    if (la[i] == lb[i]) continue;
    const std::vector<std::string> wa = words(la[i]), wb = words(lb[i]);
    bool close = wa.size() == wb.size() && !wa.empty() && wa[0] == wb[0];
    for (size_t k = 1; close && k < wa.size(); ++k) {
      char* endA = nullptr;
      char* endB = nullptr;
      const double x = std::strtod(wa[k].c_str(), &endA);
      const double y = std::strtod(wb[k].c_str(), &endB);
      close = *endA == '\0' && *endB == '\0' && std::abs(x - y) <= 1e-4 * std::max(1.0, std::abs(x));
    }
    if (!close) return "line " + std::to_string(i + 1) + ": " + la[i] + " / " + lb[i];
  }
  return "";
}

// The world points where the joints go, on the sample character (it stands on
// y = 0, faces +z, arms out along x at shoulder height 1.525). A placement
// click puts the joint halfway through the model under the cursor.
constexpr float kArmY = 1.525f;
const Vector3 kPelvis{0, 0.95f, 0};
const Vector3 kSpine{0, 1.2f, 0};
const Vector3 kChest{0, 1.45f, 0};
const Vector3 kHead{0, 1.75f, 0};
const Vector3 kHip{0.09f, 0.85f, 0};
const Vector3 kKnee{0.09f, 0.5f, 0};
const Vector3 kAnkle{0.09f, 0.14f, 0};
const Vector3 kShoulder{0.22f, kArmY, 0};
const Vector3 kElbow{0.5f, kArmY, 0};
const Vector3 kWrist{0.8f, kArmY, 0};

Vector3 mirroredX(Vector3 v) { return {-v.x, v.y, v.z}; }

// Joint names follow the placement order below.
constexpr char kChestName[] = "Joint0_0_0";
constexpr char kRightElbow[] = "Joint0_0_0_1_0";     // the +x arm
constexpr char kRightWrist[] = "Joint0_0_0_1_0_0";
constexpr char kLeftElbow[] = "Joint0_0_0_2_0";      // the -x arm
constexpr char kLeftWrist[] = "Joint0_0_0_2_0_0";

// What a joint's pose is made of, for comparing a reopened project.
struct PoseSnapshot {
  float axisAngle;
  Vector3 axisVector, initPoseBoneVector, drawBoneVector, position;
  Quaternion rotation, ikToFk;
};

class WorkflowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    folder_ = toCp932(current) + "\\workflow_files\\";
    CreateDirectoryW(toWide(folder_).c_str(), nullptr);
    for (const char* name : {"character.obj", "character.mtl", "character.bmp"}) {
      CopyFileW(toWide(test::samplesFolder() + name).c_str(), toWide(folder_ + name).c_str(), FALSE);
    }
    chooseFile = chooseScratchFile;
    ASSERT_TRUE(test::startProgram());
  }
  void TearDown() override {
    test::endProgram();
    chooseFile = showCommonFileDialog;
  }

  SceneDocument& doc() { return program().doc; }
  HWND view() { return program().windows.view; }

  // A menu command as the user gives it: only from an item that is not grey.
  void menu(int id) {
    const UINT state = GetMenuState(GetMenu(program().windows.main), static_cast<UINT>(id), MF_BYCOMMAND);
    ASSERT_NE(state, static_cast<UINT>(-1)) << "no menu item " << id;
    ASSERT_FALSE(state & MF_GRAYED) << "menu item " << id << " is grey";
    SendMessageW(program().windows.main, WM_COMMAND, id, 0);
    test::pumpPending();
  }
  void fileCommand(int id, const std::string& title) {
    gChosenPath = folder_ + title;
    menu(id);
  }

  // Where a world point shows now: a frame is drawn first so that the camera
  // matrices are current.
  POINT at(const Vector3& world) {
    RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return test::viewPointOf(world);
  }
  const Joint* joint(const std::string& name) {
    auto it = doc().skeleton.joints.find(name);
    return it == doc().skeleton.joints.end() ? nullptr : it->second;
  }
  // Where a joint is drawn: at its placed position before fixing, posed after.
  Vector3 drawnPosition(const std::string& name) {
    const Joint* j = joint(name);
    return doc().decitionJointPosition ? j->jointDrawPositionAfterPosEnter : j->jointWorldPosition;
  }
  int idOf(const std::string& name) { return joint(name) ? joint(name)->jointID : -1; }

  // The program's own BMP capture of the 3D window, through Save as.
  void capture(const std::string& title) {
    DeleteFileW(toWide(folder_ + title).c_str());
    fileCommand(IDM_FILE_SAVE_AS, title);
    ASSERT_TRUE(exists(folder_ + title)) << title;
    keepPicture(folder_ + title, title);
  }
  static void keepPicture(const std::string& from, const std::string& name) {
    const char* dir = std::getenv("LW_PICTURES_DIR");
    if (dir == nullptr || *dir == '\0') return;
    CreateDirectoryW(toWide(dir).c_str(), nullptr);
    CopyFileW(toWide(from).c_str(), toWide(std::string(dir) + "\\" + name).c_str(), FALSE);
  }

  void openModel();
  void frameTheCharacter();
  void placeSkeleton();
  void placeChild(const std::string& parent, const Vector3& child);
  void weightWithBox(const Vector3& centre, const std::string& jointName, int frontFaceSteps);
  void weightByVertices(const std::string& jointName);
  void poseWithFk();
  void poseWithIk();
  void makeKeyframe(int timeMs);
  void makeSegmentHermite(int timeMs, const std::string& jointName);
  void playAndCheckFrames();
  void reopen(const std::string& title);
  void saveReopenAndCompare();

  std::string folder_;
};

// Open a project over the current document, which is saved already: "No" at
// the save prompt.
void WorkflowTest::reopen(const std::string& title) {
  test::DialogScript script({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  fileCommand(IDM_FILE_OPEN, title);
  ASSERT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(doc().modelLoaded, 1);
}

void WorkflowTest::openModel() {
  fileCommand(IDM_FILE_OPEN, "character.obj");
  ASSERT_EQ(doc().modelLoaded, 1);
  ASSERT_NE(doc().skinBuffers, nullptr);
}

// Zoom in and lift the view with camera drags so that the character fills the
// window: each zoom step brings the camera 0.04 closer (rightward moves), each
// pan step moves the picture 0.01 (downward moves lower the camera's target).
void WorkflowTest::frameTheCharacter() {
  const float distance = doc().cameraDistance;
  const POINT start{100, 100};
  menu(IDM_CAMERA_ZOOM);
  test::dragView(start, {start.x + 85, start.y}, 85, true);
  EXPECT_NEAR(doc().cameraDistance, distance + 85 * 0.04f, 1e-3);
  menu(IDM_CAMERA_PAN_Y);
  test::dragView(start, {start.x, start.y + 95}, 95, true);
  EXPECT_NEAR(doc().cameraPanY, -0.95f, 1e-3);
  EXPECT_EQ(doc().editMode, Idle);  // camera drags leave the edit mode alone
}

// Two clicks: the parent joint, then the point for the child.
void WorkflowTest::placeChild(const std::string& parent, const Vector3& child) {
  ASSERT_NE(joint(parent), nullptr) << parent;
  test::clickView(at(drawnPosition(parent)));
  ASSERT_EQ(doc().parentJointName, parent);
  test::clickView(at(child));
  ASSERT_EQ(doc().editMode, PlaceChildJoint);
}

void WorkflowTest::placeSkeleton() {
  menu(IDM_PLACE_ROOT);
  test::clickView(at(kPelvis));
  ASSERT_EQ(doc().skeleton.size(), 1u);
  const Joint* base = joint("Joint0");
  ASSERT_NE(base, nullptr);
  // The click takes the depth halfway through the body under the cursor.
  EXPECT_NEAR(base->jointWorldPosition.x, kPelvis.x, 0.01);
  EXPECT_NEAR(base->jointWorldPosition.y, kPelvis.y, 0.01);
  EXPECT_NEAR(base->jointWorldPosition.z, 0, 0.03);

  // The spine and the head, plain children.
  menu(IDM_PLACE_CHILD);
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0", kSpine));
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0_0", kChest));
  ASSERT_NO_FATAL_FAILURE(placeChild(kChestName, kHead));

  // The legs mirrored in the YZ plane: the hip is a child of the base joint, so
  // its twin is too; knee and ankle then find their parent's twin.
  menu(IDM_PLACE_CHILD_YZ);
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0", kHip));
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0_1", kKnee));
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0_1_0", kAnkle));
  for (const char* name : {"Joint0_1", "Joint0_1_0", "Joint0_1_0_0"}) {
    std::string twin = name;
    twin[7] = '2';
    ASSERT_NE(joint(twin), nullptr) << twin;
    const Vector3 a = joint(name)->jointWorldPosition;
    const Vector3 b = joint(twin)->jointWorldPosition;
    EXPECT_EQ(b.x, -a.x) << twin;
    EXPECT_EQ(b.y, a.y) << twin;
    EXPECT_EQ(b.z, a.z) << twin;
  }

  // The arms, plain children of the chest (the chest has no mirror partner).
  menu(IDM_PLACE_CHILD);
  ASSERT_NO_FATAL_FAILURE(placeChild(kChestName, kShoulder));
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0_0_0_1", kElbow));
  ASSERT_NO_FATAL_FAILURE(placeChild(kRightElbow, kWrist));
  ASSERT_NO_FATAL_FAILURE(placeChild(kChestName, mirroredX(kShoulder)));
  ASSERT_NO_FATAL_FAILURE(placeChild("Joint0_0_0_2", mirroredX(kElbow)));
  ASSERT_NO_FATAL_FAILURE(placeChild(kLeftElbow, mirroredX(kWrist)));

  ASSERT_EQ(doc().skeleton.size(), 16u);
  const std::map<std::string, Vector3> placed = {
      {"Joint0_0", kSpine}, {kChestName, kChest}, {"Joint0_0_0_0", kHead}, {"Joint0_1_0", kKnee},
      {kRightElbow, kElbow}, {kRightWrist, kWrist}, {kLeftWrist, mirroredX(kWrist)}};
  for (const auto& [name, target] : placed) {
    ASSERT_NE(joint(name), nullptr) << name;
    EXPECT_NEAR(joint(name)->jointWorldPosition.x, target.x, 0.01) << name;
    EXPECT_NEAR(joint(name)->jointWorldPosition.y, target.y, 0.01) << name;
  }
  for (size_t i = 0; i < doc().skeleton.jointOrder.size(); ++i) {
    EXPECT_EQ(doc().skeleton.jointOrder[i]->jointID, static_cast<int>(i) + 1);
  }

  menu(IDM_FIX_POSITIONS);
  ASSERT_EQ(doc().decitionJointPosition, 1);
  // Fixed but unposed, every joint is drawn where it was placed.
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  for (const auto& j : doc().skeleton.jointOrder) {
    EXPECT_NEAR(j->jointDrawPositionAfterPosEnter.x, j->jointWorldPosition.x, 1e-4) << j->jointName;
    EXPECT_NEAR(j->jointDrawPositionAfterPosEnter.y, j->jointWorldPosition.y, 1e-4) << j->jointName;
    EXPECT_NEAR(j->jointDrawPositionAfterPosEnter.z, j->jointWorldPosition.z, 1e-4) << j->jointName;
  }
}

// Place the box around a point of the arm, optionally pull its front face in,
// then give everything inside it one joint with weight 1.
void WorkflowTest::weightWithBox(const Vector3& centre, const std::string& jointName, int frontFaceSteps) {
  menu(IDM_PLACE_WEIGHT_BOX);
  test::clickView(at(centre));
  ASSERT_EQ(doc().weightBoxShown, 1);
  const auto& box = doc().weightBox.corners;
  // A unit cube around the surface point under the cursor.
  EXPECT_NEAR(box[5][0] - box[1][0], 1.0, 1e-6);
  EXPECT_NEAR((box[5][0] + box[1][0]) / 2, centre.x, 0.01);
  EXPECT_NEAR((box[0][1] + box[6][1]) / 2, centre.y, 0.01);

  if (frontFaceSteps > 0) {
    // The front face (z+, corners 4..7) is nearest to the camera: leftward moves
    // pull it back 0.02 each.
    const double front = box[4][2];
    menu(IDM_MOVE_BOX_FACE);
    const POINT from = at({static_cast<float>(centre.x), static_cast<float>(centre.y), static_cast<float>(front)});
    test::dragView(from, {from.x - frontFaceSteps, from.y}, frontFaceSteps);
    for (int c : {4, 5, 6, 7}) EXPECT_NEAR(box[c][2], front - 0.02 * frontFaceSteps, 1e-6) << c;
    EXPECT_NEAR(box[0][2], front - 1.0, 1e-6);  // the back face stays
  }

  const int id = idOf(jointName);
  test::DialogScript script({{test::wide("重み付けボックスで重み付け"), [id](HWND dialog) {
                                SetDlgItemTextW(dialog, IDC_BW_JOINT1, std::to_wstring(id).c_str());
                                SetDlgItemTextW(dialog, IDC_BW_WEIGHT1, L"1.0");
                                test::pressButton(dialog, IDOK);
                              }}});
  menu(IDM_WEIGHT_BOX);
  ASSERT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(script.unanswered(), 0);

  // Exactly the corners inside the box carry the joint now.
  int inside = 0;
  const WeightList expected{{jointName, 1.0f}};
  for (const SkinPart& part : doc().skinBuffers->parts) {
    for (size_t c = 0; c < part.skinPositions.size(); ++c) {
      const Vector3& p = part.skinPositions[c];
      const bool in = p.x >= box[1][0] && p.x <= box[5][0] && p.y >= box[6][1] && p.y <= box[0][1] &&
                      p.z >= box[0][2] && p.z <= box[4][2];
      if (in) {
        ++inside;
        EXPECT_EQ(part.skinWeights[c], expected);
      } else {
        for (const JointWeight& w : part.skinWeights[c]) EXPECT_NE(w.jointName, jointName);
      }
    }
  }
  EXPECT_GT(inside, 50) << jointName;
}

// Pick corners along the top of the +x forearm one by one, as a user does:
// move the mouse onto a corner until it lights up, then click. (Inside the
// arm's outline the markers of the corners in front, behind and around crowd
// the selection buffer until it overflows, and nothing lights up.) The right
// button then opens the vertex dialog for them all.
void WorkflowTest::weightByVertices(const std::string& jointName) {
  menu(IDM_WEIGHT_BY_VERTEX);
  ASSERT_EQ(doc().weightBoxShown, 0);
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::vector<POINT> candidates;
  std::set<std::tuple<float, float, float>> seen;
  for (const SkinPart& part : doc().skinBuffers->parts) {
    for (const Vector3& p : part.skinPositions) {
      if (p.x < 0.6f || p.y < kArmY + 0.025f || !seen.insert({p.x, p.y, p.z}).second) continue;
      candidates.push_back(test::viewPointOf(p));
    }
  }
  std::vector<POINT> clicked;
  const POINT nudges[] = {{0, 0}, {0, -2}, {0, -3}, {0, -4}};
  for (const POINT& c : candidates) {
    for (const POINT& d : nudges) {
      const POINT q{c.x + d.x, c.y + d.y};
      test::hoverView(q);
      if (doc().editMode != kModeVertexPicked) continue;
      test::clickView(q);
      clicked.push_back(q);
      break;
    }
    if (clicked.size() == 6) break;
  }
  ASSERT_EQ(clicked.size(), 6u);
  const VertexSelection selection = doc().vertexSelection;
  ASSERT_EQ(selection.size(), clicked.size());
  for (size_t k = 0; k < selection.size(); ++k) {
    // The corner picked is the one under the cursor.
    const POINT shown = test::viewPointOf(
        doc().skinBuffers->parts[selection[k].part].skinPositions[selection[k].corner]);
    EXPECT_LE(std::abs(shown.x - clicked[k].x) + std::abs(shown.y - clicked[k].y), 8) << k;
  }

  const int id = idOf(jointName);
  test::DialogScript script({{test::wide("頂点を選択して重み付け"), [id](HWND box) {
                                SetDlgItemTextW(box, IDC_VW_JOINT1, std::to_wstring(id).c_str());
                                SetDlgItemTextW(box, IDC_VW_WEIGHT1, L"1.0");
                                test::pressButton(box, IDOK);
                              }}});
  const POINT last = clicked.back();
  SendMessageW(view(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(last.x, last.y));
  SendMessageW(view(), WM_RBUTTONUP, 0, MAKELPARAM(last.x, last.y));
  test::pumpPending();
  ASSERT_EQ(script.stepsLeft(), 0u);
  EXPECT_TRUE(doc().vertexSelection.empty());

  // Every picked corner, and every corner at the same place, has the new list.
  const WeightList expected{{jointName, 1.0f}};
  int coincident = 0;
  for (const CornerRef& ref : selection) {
    const SkinPart& part = doc().skinBuffers->parts[ref.part];
    const Vector3 p = part.skinPositions[ref.corner];
    EXPECT_GT(p.x, 0.55f);  // a corner of the forearm was picked
    EXPECT_EQ(part.skinWeights[ref.corner], expected);
    for (const SkinPart& other : doc().skinBuffers->parts) {
      for (size_t c = 0; c < other.skinPositions.size(); ++c) {
        const Vector3& o = other.skinPositions[c];
        if (o.x == p.x && o.y == p.y && o.z == p.z) {
          ++coincident;
          EXPECT_EQ(other.skinWeights[c], expected);
        }
      }
    }
  }
  EXPECT_GT(coincident, static_cast<int>(selection.size()));
}

// Swing the +x upper arm (the bone that ends at the elbow joint) about the
// shoulder: one degree per rightward move.
void WorkflowTest::poseWithFk() {
  menu(IDM_ROTATE_FK);
  const POINT from = at(drawnPosition(kRightElbow));
  test::dragView(from, {from.x + 40, from.y}, 40);
  EXPECT_EQ(doc().editMode, RotateFk);
  EXPECT_FLOAT_EQ(joint(kRightElbow)->axisAngle, 40.0f);
  // The shoulder stays; the upper arm keeps its length and turns by 40 degrees.
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const Joint* shoulder = joint("Joint0_0_0_1");
  const Joint* elbow = joint(kRightElbow);
  const Vector3 rest = elbow->jointWorldPosition - shoulder->jointWorldPosition;
  const Vector3 posed = elbow->jointDrawPositionAfterPosEnter - shoulder->jointDrawPositionAfterPosEnter;
  EXPECT_NEAR(shoulder->jointDrawPositionAfterPosEnter.x, shoulder->jointWorldPosition.x, 1e-4);
  EXPECT_NEAR(shoulder->jointDrawPositionAfterPosEnter.y, shoulder->jointWorldPosition.y, 1e-4);
  EXPECT_NEAR(vectorLength(posed), vectorLength(rest), 1e-5);
  EXPECT_NEAR(angleBetween(rest, posed), 40.0, 0.05);
}

// Reach up with the -x arm by IK, with the chest as the stop joint so that
// only the arm turns.
void WorkflowTest::poseWithIk() {
  menu(IDM_STOP_IK);
  test::DialogScript script({{test::wide("IKでのジョイントの回転"), [](HWND box) {
                                SendDlgItemMessageW(box, IDC_IK_STOP_ON, BM_CLICK, 0, 0);
                                test::pressButton(box, IDOK);
                              }}});
  test::clickView(at(drawnPosition(kChestName)));
  ASSERT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(joint(kChestName)->ik_stopFlg, 1);

  menu(IDM_ROTATE_IK);
  const Vector3 chestBefore = drawnPosition(kChestName);
  const POINT from = at(drawnPosition(kLeftWrist));
  const POINT to{from.x + 20, from.y - 120};
  test::dragView(from, to, 30);
  EXPECT_EQ(doc().editMode, RotateIk);
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const POINT reached = test::viewPointOf(drawnPosition(kLeftWrist));
  // The wrist followed the cursor upwards, most of the way.
  EXPECT_LT(reached.y, from.y - 60);
  EXPECT_EQ(joint(kLeftWrist)->ik_Flag, 1);
  const Vector3 chest = drawnPosition(kChestName);
  EXPECT_NEAR(chest.x, chestBefore.x, 1e-5);
  EXPECT_NEAR(chest.y, chestBefore.y, 1e-5);
}

void WorkflowTest::makeKeyframe(int timeMs) {
  const size_t before = doc().keyFrames->byTime.size();
  test::DialogScript script({{test::wide("キーフレームの作成"), [timeMs](HWND box) {
                                SetDlgItemTextW(box, IDC_KEYFRAME_TIME, std::to_wstring(timeMs).c_str());
                                test::pressButton(box, IDOK);
                              }}});
  menu(IDM_KEYFRAME_CREATE);
  ASSERT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(doc().keyFrames->byTime.size(), before + 1);
  ASSERT_EQ(doc().keyFrames->byTime.count(timeMs), 1u);
}

// The segment that starts at timeMs turns jointName along a Hermite curve.
void WorkflowTest::makeSegmentHermite(int timeMs, const std::string& jointName) {
  const std::wstring time = std::to_wstring(timeMs);
  const std::wstring id = std::to_wstring(idOf(jointName));
  test::DialogScript script({{test::wide("補間方法の変更"), [time, id](HWND box) {
                                SendDlgItemMessageW(box, IDC_INTERP_HERMITE, BM_CLICK, 0, 0);
                                SendDlgItemMessageW(box, IDC_INTERP_KEYFRAME, CB_SELECTSTRING,
                                                    static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(time.c_str()));
                                SendDlgItemMessageW(box, IDC_INTERP_JOINT, CB_SELECTSTRING,
                                                    static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(id.c_str()));
                                SetDlgItemTextW(box, IDC_INTERP_START_SPEED, L"0");
                                SetDlgItemTextW(box, IDC_INTERP_END_SPEED, L"0");
                                test::pressButton(box, IDOK);
                              }}});
  menu(IDM_INTERPOLATION);
  ASSERT_EQ(script.stepsLeft(), 0u);
  const KeyJointPose& pose = doc().keyFrames->byTime.at(timeMs)->poses.at(jointName);
  EXPECT_EQ(pose.kf_hokanMode, 1);
  EXPECT_EQ(pose.kf_speed[0], 0.0);
  EXPECT_EQ(pose.kf_speed[1], 0.0);
}

// Playback with frame saving on writes one picture per 32 ms of animation into
// the program's folder: 0, 32, ..., 960 ms of a 1000 ms animation, 31 frames.
void WorkflowTest::playAndCheckFrames() {
  const std::string programDir = programFolder();
  ASSERT_FALSE(programDir.empty());
  auto frameFile = [&](int n) { return programDir + "frame" + std::to_string(n) + ".bmp"; };
  for (int n = 1; n <= 40; ++n) DeleteFileW(toWide(frameFile(n)).c_str());

  menu(IDM_PLAY_ALL);
  ASSERT_EQ(doc().animationView, 1);
  menu(IDM_SAVE_FRAMES);
  ASSERT_EQ(doc().saveFramesAsBmp, 1);
  SendMessageW(view(), WM_KEYDOWN, VK_SPACE, 0);
  test::pumpPending();

  for (int n = 1; n <= 31; ++n) EXPECT_TRUE(exists(frameFile(n))) << n;
  EXPECT_FALSE(exists(frameFile(32)));
  keepPicture(frameFile(20), "playback.bmp");

  // The model stands where the playback frames show it: the torso (not
  // weighted, so it does not move) is not background; a corner is.
  std::string error;
  const std::unique_ptr<BmpTexture> first = loadBmpTexture(frameFile(1), error);
  const std::unique_ptr<BmpTexture> last = loadBmpTexture(frameFile(31), error);
  ASSERT_NE(first, nullptr) << error;
  ASSERT_NE(last, nullptr) << error;
  ASSERT_EQ(first->width, doc().clientWidth);
  ASSERT_EQ(first->height, doc().clientHeight);
  const COLORREF background = pixelAt(*first, {3, 3});
  EXPECT_NEAR(GetRValue(background), 128, 1);
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  for (const Vector3& body : {Vector3{0, 1.3f, 0.09f}, Vector3{0, 1.0f, 0.1f}, Vector3{0.09f, 0.6f, 0.06f}}) {
    const POINT p = test::viewPointOf(body);
    EXPECT_NE(pixelAt(*first, p), background) << p.x << "," << p.y;
    EXPECT_NE(pixelAt(*last, p), background) << p.x << "," << p.y;
  }
  // The arms moved between the first and the last frame.
  int changed = 0;
  for (int y = 0; y < first->height; y += 2) {
    for (int x = 0; x < first->width; x += 2) {
      if (pixelAt(*first, {x, y}) != pixelAt(*last, {x, y})) ++changed;
    }
  }
  EXPECT_GT(changed, 200);
}

// The project keeps the skin buffers' positions as they are; playback left its
// last frame there with skinning off, so skinning goes back on (and a frame is
// drawn) before saving, as it is after opening a project.
void WorkflowTest::saveReopenAndCompare() {
  menu(IDM_SKINNING_ON);
  menu(IDM_ROTATE_FK);
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::string project = folder_ + "work.ojp";
  DeleteFileW(toWide(project).c_str());
  fileCommand(IDM_FILE_SAVE_AS, "work.ojp");
  const std::vector<char> saved = fileBytes(project);
  ASSERT_FALSE(saved.empty());

  // What the reopened project must give back (saving baked IK into FK first).
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::map<std::string, PoseSnapshot> poses;
  for (const auto& [name, j] : doc().skeleton.joints) {
    poses[name] = {j->axisAngle, j->axisVector, j->initPoseBoneVector, j->drawBoneVector,
                   j->jointDrawPositionAfterPosEnter, j->rotationJointQuaternion,
                   j->convertIKtoFK_rotationJointQuaternion};
  }

  ASSERT_NO_FATAL_FAILURE(reopen("work.ojp"));
  ASSERT_EQ(doc().skeleton.size(), poses.size());
  ASSERT_EQ(doc().keyFrames->byTime.size(), 3u);
  EXPECT_EQ(doc().keyFrames->byTime.at(500)->poses.at(kLeftWrist).kf_hokanMode, 1);

  menu(IDM_ROTATE_FK);
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  auto near3 = [](const Vector3& a, const Vector3& b) {
    return std::abs(a.x - b.x) < 1e-5f && std::abs(a.y - b.y) < 1e-5f && std::abs(a.z - b.z) < 1e-5f;
  };
  auto nearQ = [](const Quaternion& a, const Quaternion& b) {
    return std::abs(a.w - b.w) < 1e-6f && std::abs(a.x - b.x) < 1e-6f && std::abs(a.y - b.y) < 1e-6f &&
           std::abs(a.z - b.z) < 1e-6f;
  };
  for (const auto& [name, before] : poses) {
    const Joint* j = joint(name);
    ASSERT_NE(j, nullptr) << name;
    EXPECT_EQ(j->axisAngle, before.axisAngle) << name;
    EXPECT_TRUE(near3(j->axisVector, before.axisVector)) << name;
    EXPECT_TRUE(near3(j->initPoseBoneVector, before.initPoseBoneVector)) << name;
    EXPECT_TRUE(near3(j->drawBoneVector, before.drawBoneVector)) << name;
    EXPECT_TRUE(near3(j->jointDrawPositionAfterPosEnter, before.position)) << name;
    EXPECT_TRUE(nearQ(j->rotationJointQuaternion, before.rotation)) << name;
    EXPECT_TRUE(nearQ(j->convertIKtoFK_rotationJointQuaternion, before.ikToFk)) << name;
  }

  // Saved again, the reopened project says the same: its first frame skinned
  // the mesh anew with the pose read back from six-digit text, so the derived
  // positions, normals and drawn vectors may differ in their last digit.
  fileCommand(IDM_FILE_SAVE_AS, "again.ojp");
  const std::vector<char> again = fileBytes(folder_ + "again.ojp");
  EXPECT_EQ(linesApart(saved, again), "");

  // From there on a project goes through open, draw and save unchanged.
  ASSERT_NO_FATAL_FAILURE(reopen("again.ojp"));
  menu(IDM_ROTATE_FK);
  RedrawWindow(view(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  fileCommand(IDM_FILE_SAVE_AS, "third.ojp");
  EXPECT_TRUE(fileBytes(folder_ + "third.ojp") == again);
}

TEST_F(WorkflowTest, RigPoseAnimateSaveAndReopenTheSampleCharacter) {
  ASSERT_NO_FATAL_FAILURE(openModel());
  ASSERT_NO_FATAL_FAILURE(frameTheCharacter());
  ASSERT_NO_FATAL_FAILURE(placeSkeleton());
  ASSERT_NO_FATAL_FAILURE(capture("rest.bmp"));

  // The +x arm to its elbow joint (front face pulled in, the arm stays inside);
  // the -x arm to its elbow joint, then its forearm and hand to its wrist joint;
  // corners of the +x forearm picked one by one to its wrist joint.
  ASSERT_NO_FATAL_FAILURE(weightWithBox({0.78f, kArmY, 0}, kRightElbow, 10));
  ASSERT_NO_FATAL_FAILURE(weightWithBox(mirroredX({0.78f, kArmY, 0}), kLeftElbow, 0));
  ASSERT_NO_FATAL_FAILURE(weightWithBox(mirroredX({0.92f, kArmY, 0}), kLeftWrist, 0));
  ASSERT_NO_FATAL_FAILURE(weightByVertices(kRightWrist));
  menu(IDM_SKINNING_ON);
  ASSERT_EQ(doc().do_skinning, 1);

  ASSERT_NO_FATAL_FAILURE(makeKeyframe(0));
  ASSERT_NO_FATAL_FAILURE(poseWithFk());
  ASSERT_NO_FATAL_FAILURE(makeKeyframe(500));
  ASSERT_NO_FATAL_FAILURE(poseWithIk());
  ASSERT_NO_FATAL_FAILURE(makeKeyframe(1000));
  ASSERT_NO_FATAL_FAILURE(makeSegmentHermite(500, kLeftWrist));
  ASSERT_NO_FATAL_FAILURE(capture("posed.bmp"));

  ASSERT_NO_FATAL_FAILURE(playAndCheckFrames());
  ASSERT_NO_FATAL_FAILURE(saveReopenAndCompare());
}

}  // namespace
}  // namespace lw
