// Dialog 116: the 3D window's background (clear) colour.
#include "app/dialogs.h"
#include "resources/resource.h"

namespace lw {

INT_PTR showBackgroundDialog(HWND owner, SceneDocument& doc) {
  Colour& colour = doc.backgroundColour;
  const NumberField fields[] = {{IDC_BACKGROUND_R, &colour.r, "赤(R)"},
                                {IDC_BACKGROUND_G, &colour.g, "緑(G)"},
                                {IDC_BACKGROUND_B, &colour.b, "青(B)"},
                                {IDC_BACKGROUND_A, &colour.a, "不透明度(A)"}};
  return runNumberFieldsDialog(owner, IDD_BACKGROUND, fields, 4);
}

}  // namespace lw
