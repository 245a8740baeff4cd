// Dialog 114: the colours of the right and the left decorative light.
#include "app/dialogs.h"
#include "resources/resource.h"

namespace lw {

INT_PTR showLightColourDialog(HWND owner, SceneDocument& doc) {
  Colour& right = doc.lightColour[0];
  Colour& left = doc.lightColour[1];
  const NumberField fields[] = {
      {IDC_RIGHT_LIGHT_R, &right.r, "右側の赤(R)"},
      {IDC_RIGHT_LIGHT_G, &right.g, "右側の緑(G)"},
      {IDC_RIGHT_LIGHT_B, &right.b, "右側の青(B)"},
      {IDC_RIGHT_LIGHT_A, &right.a, "右側の不透明度(A)"},
      {IDC_LEFT_LIGHT_R, &left.r, "左側の赤(R)"},
      {IDC_LEFT_LIGHT_G, &left.g, "左側の緑(G)"},
      {IDC_LEFT_LIGHT_B, &left.b, "左側の青(B)"},
      {IDC_LEFT_LIGHT_A, &left.a, "左側の不透明度(A)"},
  };
  return runNumberFieldsDialog(owner, IDD_LIGHT_RGBA, fields, 8);
}

}  // namespace lw
