#include "edit/file_commands.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include "core/keyframes.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::RecordingUi;

TEST(FileCommands, FinishedProjectOpenEnablesItsItemsAndLetsTheKeyframeRulesDecidePlayback) {
  for (int keyframes : {0, 2}) {
    SceneDocument doc;
    RecordingUi ui;
    doc.playbackMenuLock = 1;
    doc.drawMode = 1;
    for (int i = 0; i < keyframes; ++i) createKeyFrame(*doc.keyFrames, doc.skeleton, 100 * (i + 1));
    finishProjectOpen(doc, ui);
    EXPECT_EQ(doc.playbackMenuLock, 0);
    EXPECT_EQ(doc.modelLoaded, 1);
    EXPECT_EQ(doc.drawMode, 4);
    EXPECT_EQ(doc.decitionJointPosition, 1);
    // Play and save frames stay enabled; next/previous follow the keyframe count.
    for (int id : {IDM_PLAY, IDM_SAVE_FRAMES, IDM_DRAW_FACES, IDM_WEIGHT_BY_VERTEX, IDM_MOVE_ROOT_Z,
                   IDM_STOP_IK, IDM_FILE_ADD, IDM_SHADOW_LIGHT}) {
      EXPECT_TRUE(ui.isEnabled(id)) << id << " with " << keyframes;
    }
    EXPECT_EQ(ui.isEnabled(IDM_KEYFRAME_NEXT), keyframes >= 2);
    EXPECT_EQ(ui.isGreyed(IDM_KEYFRAME_PREVIOUS), keyframes < 2);
    EXPECT_NE(doc.saveFilter.find("*.bmp"), std::string::npos);
    EXPECT_NE(doc.saveFilter.find(kGltfFilterPattern), std::string::npos);
    EXPECT_EQ(ui.motionPanelRefreshes, keyframes ? 1 : 0);
    EXPECT_EQ(ui.redraws, 1);
  }
}

}  // namespace
}  // namespace lw
