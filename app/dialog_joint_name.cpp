// Dialog 109: the name a joint shows in the bone tree.
#include "app/dialogs.h"
#include "app/win_text.h"
#include "resources/resource.h"

namespace lw {

namespace {

constexpr size_t kMaxNameBytes = 255;
constexpr char kTooLongText[] = "文字数は、半角255文字、全角127文字以内で指定してください";
constexpr char kTooLongTitle[] = "文字数制限";

void onNameOk(HWND dialog, SceneDocument& doc) {
  const std::string name = fieldText(dialog, IDC_JOINT_NAME);
  if (name.size() > kMaxNameBytes) {
    MessageBoxW(dialog, toWide(kTooLongText).c_str(), toWide(kTooLongTitle).c_str(), MB_OK);
    return;
  }
  const auto found = doc.skeleton.joints.find(doc.editedJointName);
  if (found != doc.skeleton.joints.end()) found->second->TreeName = name;
  EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR showJointNameDialog(HWND owner, SceneDocument& doc) {
  return runDocumentDialog(owner, IDD_JOINT_NAME, doc, nullptr, onNameOk);
}

}  // namespace lw
