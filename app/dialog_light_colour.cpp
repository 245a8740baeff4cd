// Dialog 114: the colours of the right and the left decorative light.
#include "app/dialogs.h"
#include "resources/resource.h"

namespace lw {

INT_PTR showLightColourDialog(HWND owner, SceneDocument& doc) {
  Colour& right = doc.lightColour[0];
  Colour& left = doc.lightColour[1];
  const NumberField fields[] = {
      {IDC_RIGHT_LIGHT_R, &right.r}, {IDC_RIGHT_LIGHT_G, &right.g},
      {IDC_RIGHT_LIGHT_B, &right.b}, {IDC_RIGHT_LIGHT_A, &right.a},
      {IDC_LEFT_LIGHT_R, &left.r},   {IDC_LEFT_LIGHT_G, &left.g},
      {IDC_LEFT_LIGHT_B, &left.b},   {IDC_LEFT_LIGHT_A, &left.a},
  };
  return runNumberFieldsDialog(owner, IDD_LIGHT_RGBA, fields, 8);
}

}  // namespace lw
