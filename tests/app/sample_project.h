// A fixture for GUI tests that work on the sample character project: the
// program's windows are started and the project is opened through the real
// Open command (IDM_FILE_OPEN), from copies of the sample files in a scratch folder
// beside the test program, with the file dialog answered in code.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/program.h"
#include "gui_harness.h"

namespace lw::test {

// The program's messages over a dialog mostly have no owner, so the dialog need
// not become active again when one closes. These steps carry on with the dialog
// itself: `remember` notes the dialog a step acts on, and `acknowledgeThen`
// presses OK on the message box and then runs `next` on that dialog.
DialogStep remember(HWND& dialog, DialogStep step);
DialogStep acknowledgeThen(const char* cp932Title, const HWND& dialog,
                           std::function<void(HWND)> next);

class SampleProjectTest : public ::testing::Test {
 protected:
  // The running test's folder with the copies of the sample files.
  static std::string sampleCopyFolder() { return testScratchFolder("gui_sample"); }

  void SetUp() override;
  void TearDown() override;

  // Sends a menu command to the main window, as choosing the item does.
  LRESULT command(int id);
  // The grey state of a menu item, as the user sees it.
  bool greyed(int id) const;

  SceneDocument& doc() { return program().doc; }
  KeyframeStore& store() { return *program().doc.keyFrames; }
};

}  // namespace lw::test
