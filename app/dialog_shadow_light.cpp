// Dialog 115: the position of the light that casts the planar shadow.
#include "app/dialogs.h"
#include "resources/resource.h"

namespace lw {

INT_PTR showShadowLightDialog(HWND owner, SceneDocument& doc) {
  Vector3& position = doc.shadowLightPosition;
  const NumberField fields[] = {
      {IDC_SHADOW_X, &position.x, "X座標"},
      {IDC_SHADOW_Y, &position.y, "Y座標"},
      {IDC_SHADOW_Z, &position.z, "Z座標"}};
  return runNumberFieldsDialog(owner, IDD_SHADOW_LIGHT, fields, 3);
}

}  // namespace lw
