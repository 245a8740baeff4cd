// The project reader's state while it reads one project, shared by its two
// files: project_reader.cpp reads the file and loads the models it names,
// project_sections.cpp reads the lines after the model.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "io/project_reader.h"
#include "io/project_text.h"

namespace lw {

namespace project_reader_detail {

inline ValueScanner valuesAfter(std::string_view line, std::string_view key) {
  return ValueScanner{restAfter(line, key.size())};
}

class ProjectReader {
 public:
  ProjectReader(SceneDocument& doc, ShellUi& ui, const ProjectModelLoader& loadModel,
                std::string folder, ProjectResult& result)
      : doc_(doc), ui_(ui), loadModel_(loadModel), folder_(std::move(folder)), result_(result) {}

  int loadModel(std::string_view line);
  // Returns 0 to go on, a failure code, or kStopReading.
  int readLine(std::string_view line, int lineNumber);
  void finish();

  static constexpr int kStopReading = -1;

 private:
  int readSubModel(std::string_view line);
  void readSkinLine(std::string_view line);
  bool readJointLine(std::string_view line);
  void commitJoint();
  void readRelation(std::string_view line);
  void skip(const char* what) { skipAt(lineNumber_, what); }
  void skipAt(int lineNumber, std::string_view what);
  bool keepKeyframe();
  const Joint* rootOf(const Joint* joint);
  bool readKeyframeLine(std::string_view line);
  void readPoseLine(std::string_view line);
  ModelLoadResult load(const std::string& name, std::unique_ptr<Mesh>& mesh, std::string& reason);
  void notice(std::string text, const char* title) {
    result_.notices.push_back({std::move(text), title});
  }

  SceneDocument& doc_;
  ShellUi& ui_;
  const ProjectModelLoader& loadModel_;
  std::string folder_;
  ProjectResult& result_;

  int part_ = -1;
  int corner_ = -1;
  bool haveInfluence_ = false;
  JointWeight influence_;

  std::unique_ptr<Joint> pendingJoint_;  // read, not yet kept (no "TreeName" yet)
  Joint* joint_ = nullptr;               // the joint the joint keys fill

  std::string lastRelation_;
  std::vector<std::string> nameStack_;
  int lineNumber_ = 0;                   // of the line being read
  bool relationsRead_ = false;           // the "[JOINTRERATION]" line was read
  std::unordered_map<int32_t, const Joint*> jointsById_;  // the first joint kept with each ID
  std::string skipped_;                  // one "N行目：..." line per line that did not fit
  // Toward the root of the tree each attached joint is in: followed by rootOf,
  // which shortens the links it passes, so a deep chain is not walked per joint.
  std::unordered_map<const Joint*, const Joint*> towardRoot_;

  KeyFramePtr keyframe_;             // the keyframe being read
  int keyframeLine_ = 0;             // the line of its "keyframe"
  KeyJointPose* pose_ = nullptr;     // its pose the pose keys fill
};

}  // namespace project_reader_detail

}  // namespace lw
