// Dialog 116: the 3D window's background (clear) colour.
#include "app/dialogs.h"
#include "resources/resource.h"

namespace lw {

INT_PTR showBackgroundDialog(HWND owner, SceneDocument& doc) {
  Colour& colour = doc.backgroundColour;
  const NumberField fields[] = {{IDC_BACKGROUND_R, &colour.r},
                                {IDC_BACKGROUND_G, &colour.g},
                                {IDC_BACKGROUND_B, &colour.b},
                                {IDC_BACKGROUND_A, &colour.a}};
  return runNumberFieldsDialog(owner, IDD_BACKGROUND, fields, 4);
}

}  // namespace lw
