#include "io/project_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "io/project_fixture.h"
#include "io/project_writer.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

const std::string kDataDir = LW_TEST_DATA_DIR;

class ProjectReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lw_project_reader_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
    files_.parts["body.obj"] = {2, 0};
    files_.parts["hat 1.obj"] = {3};
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // The code; the whole result is kept in result_.
  int read(const std::string& text) {
    std::string path = (dir_ / "p.ojp").string();
    test::writeFileText(path, text);
    result_ = readProject(doc_, path, ui_, files_.loader());
    EXPECT_TRUE(ui_.messages.empty()) << "the reader shows no message itself";
    return result_.code;
  }

  std::filesystem::path dir_;
  test::FakeModelFiles files_;
  SceneDocument doc_;
  test::RecordingUi ui_;
  ProjectResult result_;
};

TEST_F(ProjectReaderTest, HandCheckedFileReadsBackToTheSameBytes) {
  std::string golden = test::readFileText(kDataDir + "/small.ojp");
  ASSERT_EQ(read(golden), kProjectRead);
  EXPECT_EQ(projectText(doc_), golden);

  ASSERT_EQ(doc_.decorations.size(), 1u);
  EXPECT_EQ(doc_.decorations[0]->fileName, "hat 1.obj");
  EXPECT_EQ(doc_.modelFileName, "body.obj");
  const Joint& arm = *doc_.skeleton.joints.at("Joint0_0");
  EXPECT_EQ(arm.parent, doc_.skeleton.joints.at("Joint0"));
  EXPECT_EQ(arm.leafFlag, 1);
  EXPECT_EQ(doc_.skeleton.joints.at("Joint0")->leafFlag, 0);
  EXPECT_EQ(arm.ik_stopFlg, 1);
  const KeyFrame& kf = *doc_.keyFrames->byTime.at(250);
  EXPECT_EQ(kf.poses.at("Joint0_0").parentPose, &kf.poses.at("Joint0"));
  EXPECT_EQ(kf.poses.at("Joint0_0").kf_speed[1], -2.0);
  EXPECT_EQ(doc_.do_skinning, 1);
  EXPECT_EQ(doc_.keyFrames->keyframeBoneView, 1);
  EXPECT_EQ(doc_.keyFrames->keyframeShown, 1);
  EXPECT_EQ(doc_.playbackMenuLock, 1);
  // One root item for Joint0, one under it for the arm, shown by TreeName.
  ASSERT_EQ(ui_.treeOrder.size(), 2u);
  EXPECT_EQ(ui_.tree[ui_.treeOrder[1]].parent, ui_.treeOrder[0]);
  EXPECT_EQ(ui_.tree[ui_.treeOrder[1]].text, "left_arm");
}

TEST_F(ProjectReaderTest, WindowsLineEndsReadLikeTextMode) {
  std::string golden = test::readFileText(kDataDir + "/small.ojp");
  std::string crlf;
  for (char c : golden) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  ASSERT_EQ(read(crlf), kProjectRead);
  EXPECT_EQ(projectText(doc_), golden);
}

TEST_F(ProjectReaderTest, TreeNameKeepsItsFirstWordButJointNamesKeepSpaces) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj extra words\n"
                 "jointID 1\njointName Joint0 with space\nTreeName left upper arm\n"
                 "[JOINTRERATION]\nkeyframe\nkf_jointID 1\nkf_jointName pose name\n"
                 "frameNumber 0\nframeTime 0\n"),
            kProjectRead);
  const Joint& j = *doc_.skeleton.jointOrder.at(0);
  EXPECT_EQ(j.jointName, "Joint0 with space");
  EXPECT_EQ(j.TreeName, "left");
  EXPECT_EQ(doc_.keyFrames->byTime.at(0)->poses.at("Joint0 with space").kf_jointName, "pose name");
  EXPECT_EQ(files_.requested.front(), (dir_ / "body.obj").string());
}

TEST_F(ProjectReaderTest, JointWithoutTreeNameIsNotKept) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj\njointID 1\njointName Joint0\nTreeName Joint0\n"
                 "jointID 2\njointName Joint0_0\nposition 1 2 3\n"),
            kProjectRead);
  EXPECT_EQ(doc_.skeleton.size(), 1u);
  EXPECT_EQ(doc_.skeleton.joints.count("Joint0_0"), 0u);
}

TEST_F(ProjectReaderTest, KeyframesKeepTheirNumbersAndTimeOrderComesFromFrameTime) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj\njointID 1\njointName Joint0\nTreeName Joint0\n"
                 "[JOINTRERATION]\nkeyframe\nkf_jointID 1\nframeNumber 7\nframeTime 900\n"
                 "keyframe\nkf_jointID 1\nframeNumber 3\nframeTime -20\n"
                 "keyframe\nkf_jointID 1\nframeNumber 5\nframeTime 400\n"),
            kProjectRead);
  const KeyframeStore& store = *doc_.keyFrames;
  ASSERT_EQ(store.byTime.size(), 3u);
  EXPECT_EQ(store.byTime.begin()->second->number, 3);
  EXPECT_EQ(store.rangeStart, 3);
  EXPECT_EQ(store.rangeEnd, 7);
  EXPECT_EQ(store.rangeDuration, 920);
  // The keyframe after the last one read (400 ms) in time order is shown.
  EXPECT_EQ(store.currentNumber, 7);
  EXPECT_EQ(store.currentTime, 900);
}

TEST_F(ProjectReaderTest, LastKeyframeInTimeStaysShown) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj\njointID 1\njointName Joint0\nTreeName Joint0\n"
                 "[JOINTRERATION]\nkeyframe\nkf_jointID 1\nframeNumber 0\nframeTime 0\n"
                 "keyframe\nkf_jointID 1\nframeNumber 1\nframeTime 100\n"),
            kProjectRead);
  EXPECT_EQ(doc_.keyFrames->currentNumber, 1);
}

TEST_F(ProjectReaderTest, MalformedLinesAreSkippedSafely) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj\n"
                 "nor 1 2 3\nvec 1 2 3\nverInf 0.5\n"  // before any part
                 "mtlstart\nverInf 0.5\n"              // a weight with no joint name
                 "nor 1 0 0\nvec 4 5 6\nverJnm\nverInf 0.5\n"
                 "nor 0 1 0\nnor 0 0 1\nnor 9 9 9\nvec 9 9 9\nverJnm Joint0\nverInf 1\n"
                 "mtlstart\nmtlstart\nnor 1 1 1\n"     // parts beyond the model's
                 "position 1 1 1\njointName\nTreeName\n"  // joint keys before any joint
                 "kf_axisAngle 5\nkf_jointID 1\nframeNumber 1\nframeTime 1\n"  // no keyframe yet
                 "keyframe\nkf_axisAngle 5\nkf_boneVector 1 2 3\nkf_speed\n"  // before kf_jointID
                 "relation\nrelation Nobody\n[down]\n[up]\n[up]\n[up]\n"
                 "jointID\njointName\n"),
            kProjectRead);
  const SkinPart& part = doc_.skinBuffers->parts[0];
  EXPECT_EQ(part.skinNormals[0], (Vector3{1, 0, 0}));
  EXPECT_EQ(part.skinPositions[0], (Vector3{4, 5, 6}));
  EXPECT_TRUE(part.skinWeights[0].empty());  // its joint name was empty
  EXPECT_EQ(part.skinNormals[1], (Vector3{0, 1, 0}));
  EXPECT_EQ(part.skinWeights[1].size(), 0u);  // its corners ran out before the weight
  EXPECT_TRUE(doc_.keyFrames->byNumber.empty());
  EXPECT_EQ(doc_.skeleton.size(), 0u);
}

TEST_F(ProjectReaderTest, RelationsNeverAttachAJointTwiceOrBelowItself) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj\n"
                 "jointID 1\njointName A\nTreeName A\njointID 2\njointName B\nTreeName B\n"
                 "relation A\n[down]\nrelation B\n[down]\nrelation A\nrelation B\n[up]\n[up]\n"),
            kProjectRead);
  const Joint& a = *doc_.skeleton.joints.at("A");
  const Joint& b = *doc_.skeleton.joints.at("B");
  EXPECT_EQ(a.parent, nullptr);
  EXPECT_EQ(b.parent, &a);
  EXPECT_EQ(a.children.size(), 1u);
  EXPECT_TRUE(b.children.empty());
}

TEST_F(ProjectReaderTest, EveryTruncationOfAValidFileReadsWithoutHarm) {
  std::string golden = test::readFileText(kDataDir + "/small.ojp");
  for (size_t n = 0; n <= golden.size(); n += 7) {
    SceneDocument doc;
    std::string path = (dir_ / "cut.ojp").string();
    test::writeFileText(path, golden.substr(0, n));
    const int code = readProject(doc, path, ui_, files_.loader()).code;
    EXPECT_TRUE(code == kProjectRead || code == kProjectNoModelName) << n;
  }
}

TEST_F(ProjectReaderTest, MissingFileIsRefusedWithAMessage) {
  std::string path = (dir_ / "none.ojp").string();
  const ProjectResult result = readProject(doc_, path, ui_, files_.loader());
  EXPECT_EQ(result.code, kProjectCannotOpen);
  EXPECT_EQ(result.message, path + "を開くことができません");
  EXPECT_EQ(result.title, "OJPファイル読み込みエラー");
  EXPECT_TRUE(result.notices.empty());
}

TEST_F(ProjectReaderTest, FileWithoutModelNameIsRefused) {
  for (const char* text :
       {"# Created by Limbweaver OJP FILE\n\n[JOINTDATA]\n", "MODEL_FILENAME\n"}) {
    EXPECT_EQ(read(text), kProjectNoModelName);
    EXPECT_EQ(result_.message, kProjectNoModelNameText);
    EXPECT_EQ(result_.title, "OJPファイル読み込みエラー");
  }
  EXPECT_TRUE(files_.requested.empty());
}

TEST_F(ProjectReaderTest, ModelObjFailureIsRefusedWithTheReadersMessage) {
  files_.objFailures = {"body.obj"};
  EXPECT_EQ(read("MODEL_FILENAME body.obj\nSUB_MODEL_FILENAME hat 1.obj\n"),
            kProjectModelObjFailed);
  EXPECT_EQ(result_.message, (dir_ / "body.obj").string() + "を開くことができません");
  EXPECT_EQ(result_.title, "OBJ読み込みエラー");
  EXPECT_TRUE(result_.notices.empty());
  EXPECT_TRUE(doc_.ErrorText.empty());
  EXPECT_EQ(doc_.mesh, nullptr);
  EXPECT_EQ(files_.requested.size(), 1u) << "nothing is read after the failure";
}

TEST_F(ProjectReaderTest, TloFailureIsCode65) {
  files_.tloFailures = {"body.obj"};
  EXPECT_EQ(read("MODEL_FILENAME body.obj\n"), kProjectTloNotFound);
  EXPECT_EQ(result_.message, kProjectTloNotFoundText);
  EXPECT_EQ(result_.title, "TLOファイル読み込みエラー");
}

// A decoration that does not read (its OBJ or its TLO) is skipped with its
// message; the rest of the project is still read.
TEST_F(ProjectReaderTest, DecorationThatDoesNotReadIsSkippedAndReadingGoesOn) {
  const std::pair<bool, const char*> cases[] = {{true, "OBJエラー"}, {false, "TLOファイル読み込みエラー"}};
  for (const auto& [objFails, title] : cases) {
    files_.objFailures.clear();
    files_.tloFailures.clear();
    (objFails ? files_.objFailures : files_.tloFailures) = {"hat 1.obj"};
    ASSERT_EQ(read("MODEL_FILENAME body.obj\nSUB_MODEL_FILENAME hat 1.obj\n"
                   "jointID 1\njointName Joint0\nTreeName Joint0\n"),
              kProjectRead);
    EXPECT_TRUE(result_.message.empty() && result_.title.empty());
    ASSERT_EQ(result_.notices.size(), 1u);
    EXPECT_EQ(result_.notices[0].title, title);
    EXPECT_TRUE(doc_.decorations.empty());
    EXPECT_EQ(doc_.skeleton.size(), 1u);
    EXPECT_EQ(doc_.do_skinning, 1);
  }
}

// Lines that do not fit the model or the joints are skipped, and all of them
// are told in one message, by line number; what fits is still read.
TEST_F(ProjectReaderTest, LinesThatDoNotFitAreListedInOneMessage) {
  const std::string joints =  // lines 2-9: A (ID 1) with B (ID 2) below it
      "[JOINTDATA]\njointID 1\njointName A\nTreeName A\njointID 2\njointName B\nTreeName B\n"
      "[JOINTRERATION]\n";
  const std::string relations = "relation A\n[down]\nrelation B\n[up]\n";  // lines 10-13
  struct Case {
    std::string text;
    std::string listed;
    std::function<void(const SceneDocument&)> check;
  };
  const Case cases[] = {
      {"MODEL_FILENAME body.obj\n"
       "mtlstart\nnor 0 0 1\nnor 0 0 2\nnor 0 0 3\nverInf 0.5\n"
       "mtlstart\nmtlstart\n"
       "[JOINTDATA]\njointID 1\njointName Joint0\nTreeName Joint0\n"
       "[JOINTRERATION]\nrelation Joint0\n[down]\nrelation Ghost\n[up]\n",
       "\n5行目：モデルにない頂点のデータ（nor）"
       "\n6行目：ジョイント名（verJnm）のない重み（verInf）"
       "\n8行目：モデルにない部品のデータ（mtlstart）"
       "\n16行目：存在しないジョイントの親子関係（relation）",
       [](const SceneDocument& doc) {
         EXPECT_EQ(doc.skinBuffers->parts[0].skinNormals[1], (Vector3{0, 0, 2}));
         EXPECT_EQ(doc.skeleton.size(), 1u);
       }},
      // Short name lines: the nameless joint is not kept, nor its ID.
      {"MODEL_FILENAME body.obj\nmtlstart\nnor 0 0 1\nverJnm\nverInf 0.5\nverJnm B\nverInf 0.25\n"
       "jointID 3\njointName\nTreeName C\njointID 3\njointName B\nTreeName B\n"
       "[JOINTRERATION]\nrelation B\nkeyframe\nkf_jointID 3\nframeNumber 0\nframeTime 0\n",
       "\n4行目：ジョイント名のない重み（verJnm）"
       "\n5行目：ジョイント名（verJnm）のない重み（verInf）"
       "\n9行目：名前のないジョイント（jointName）",
       [](const SceneDocument& doc) {
         const auto& weights = doc.skinBuffers->parts[0].skinWeights[0];
         ASSERT_EQ(weights.size(), 1u);
         EXPECT_EQ(weights[0].jointName, "B");
         EXPECT_EQ(weights[0].weight, 0.25f);
         EXPECT_EQ(doc.skeleton.size(), 1u);
         EXPECT_EQ(doc.keyFrames->byTime.at(0)->poses.count("B"), 1u);
       }},
      // Poses of no joint fill nothing; a keyframe lacking B's pose is not kept.
      {"MODEL_FILENAME body.obj\n" + joints + relations +
           "keyframe\nkf_jointID 1\nkf_axisAngle 3\nkf_jointID 9\nkf_axisAngle 7\n"
           "kf_jointID\nkf_axisAngle 8\nkf_jointID 2\nkf_axisAngle -4\n"
           "frameNumber 4\nframeTime 100\n"
           "keyframe\nkf_jointID 1\nframeNumber 5\nframeTime 500\n",
       "\n17行目：存在しないジョイントの姿勢（kf_jointID）"
       "\n19行目：存在しないジョイントの姿勢（kf_jointID）"
       "\n25行目：ジョイント「B」の姿勢がないキーフレーム（keyframe）",
       [](const SceneDocument& doc) {
         const KeyframeStore& store = *doc.keyFrames;
         ASSERT_EQ(store.byTime.size(), 1u);
         ASSERT_EQ(store.byNumber.size(), 1u);
         const KeyFrame& kf = *store.byTime.at(100);
         EXPECT_EQ(store.lastCreated.get(), &kf);
         ASSERT_EQ(kf.poses.size(), 2u);
         EXPECT_EQ(kf.poses.at("A").kf_axisAngle, 3.0);
         EXPECT_EQ(kf.poses.at("B").kf_axisAngle, -4.0);
         EXPECT_EQ(kf.poses.at("B").parentPose, &kf.poses.at("A"));
       }},
      // Keyframes before the relation block: the joints had no parents yet.
      {"MODEL_FILENAME body.obj\njointID 1\njointName A\nTreeName A\n"
       "keyframe\nkf_jointID 1\nframeNumber 0\nframeTime 0\n"
       "[JOINTRERATION]\nrelation A\nkeyframe\nkf_jointID 1\nframeNumber 1\nframeTime 40\n",
       "\n5行目：ジョイントの親子関係（[JOINTRERATION]）より前のキーフレーム（keyframe）",
       [](const SceneDocument& doc) {
         ASSERT_EQ(doc.keyFrames->byTime.size(), 1u);
         EXPECT_EQ(doc.keyFrames->byTime.begin()->first, 40);
         EXPECT_EQ(doc.keyFrames->byNumber.begin()->first, 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listed);
    doc_ = SceneDocument{};
    ASSERT_EQ(read(c.text), kProjectRead);
    ASSERT_EQ(result_.notices.size(), 1u);
    EXPECT_EQ(result_.notices[0].text, kProjectSkippedLinesMessage + c.listed);
    EXPECT_EQ(result_.notices[0].title, "OJPファイル読み込みエラー");
    c.check(doc_);
  }
}

// Every notice is kept, in the order it was met: texture warnings of the model
// and of a decoration, a decoration that failed, then the skipped lines.
TEST_F(ProjectReaderTest, NoticesComeInTheOrderTheyWereMet) {
  files_.parts["cap.obj"] = {1};
  files_.withoutTexture = {"body.obj", "cap.obj"};
  files_.objFailures = {"hat 1.obj"};
  ASSERT_EQ(read("MODEL_FILENAME body.obj\nSUB_MODEL_FILENAME cap.obj\n"
                 "SUB_MODEL_FILENAME hat 1.obj\nrelation Ghost\n"),
            kProjectRead);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"body.obj texture", "TLOエラー"},
      {"cap.obj texture", "TLOエラー"},
      {(dir_ / "hat 1.obj").string() + "を開くことができません", "OBJエラー"},
      {kProjectSkippedLinesMessage +
           std::string("\n4行目：存在しないジョイントの親子関係（relation）"),
       "OJPファイル読み込みエラー"}};
  ASSERT_EQ(result_.notices.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(result_.notices[i].text, expected[i].first) << i;
    EXPECT_EQ(result_.notices[i].title, expected[i].second) << i;
  }
  EXPECT_EQ(doc_.decorations.size(), 1u);
}

TEST_F(ProjectReaderTest, ModelNamesAreTakenFromTheProjectsFolder) {
  ASSERT_EQ(read("MODEL_FILENAME body.obj\nSUB_MODEL_FILENAME hat 1.obj\n"), kProjectRead);
  EXPECT_EQ(files_.requested,
            (std::vector<std::string>{(dir_ / "body.obj").string(), (dir_ / "hat 1.obj").string()}));
}

}  // namespace
}  // namespace lw
