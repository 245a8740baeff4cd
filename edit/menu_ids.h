// Menu ids of the display, mode and file commands that no lower layer declares. They
// match the main menu's resource ids.
#pragma once

namespace lw {

// View presets, camera-drag modes and drawing modes.
inline constexpr int kMenuViewTop = 40033;
inline constexpr int kMenuViewBottom = 40034;
inline constexpr int kMenuViewRight = 40035;
inline constexpr int kMenuViewLeft = 40036;
inline constexpr int kMenuViewFront = 40037;
inline constexpr int kMenuViewBack = 40038;
inline constexpr int kMenuDragRotate = 40060;
inline constexpr int kMenuDragPanLeftRight = 40061;
inline constexpr int kMenuDragZoom = 40062;
inline constexpr int kMenuDragPanUpDown = 40063;
inline constexpr int kMenuDrawFaces = 40015;
inline constexpr int kMenuDrawLines = 40016;
inline constexpr int kMenuDrawPoints = 40017;

// Checked display flags.
inline constexpr int kMenuJointNumbers = 40007;
inline constexpr int kMenuFkAxes = 40008;
inline constexpr int kMenuBoneAxes = 40014;
inline constexpr int kMenuWorldAxes = 40057;

// On/off pairs.
inline constexpr int kMenuDecorationsShow = 40079;
inline constexpr int kMenuDecorationsHide = 40080;
inline constexpr int kMenuAntiAliasingOn = 40081;
inline constexpr int kMenuAntiAliasingOff = 40082;
inline constexpr int kMenuRightLightOn = 40083;
inline constexpr int kMenuRightLightOff = 40084;
inline constexpr int kMenuLeftLightOn = 40086;
inline constexpr int kMenuLeftLightOff = 40087;
inline constexpr int kMenuShadowOn = 40089;
inline constexpr int kMenuShadowOff = 40090;

// Weighting, skinning and the joint tree.
inline constexpr int kMenuPlaceWeightBox = 403;
inline constexpr int kMenuSkinningOn = 40005;
inline constexpr int kMenuSkinningOff = 40006;
inline constexpr int kMenuTreeExpanded = 40055;
inline constexpr int kMenuWeightByVertex = 412;

// Items enabled once a project is open.
inline constexpr int kMenuFileAdd = 40078;
inline constexpr int kMenuKeyframeCreate = 40021;
inline constexpr int kMenuMoveRootX = 40064;
inline constexpr int kMenuMoveRootY = 40065;
inline constexpr int kMenuMoveRootZ = 40066;
inline constexpr int kMenuShadowLight = 40091;

// Rotation-axis presets and the reversal of the axis.
inline constexpr int kMenuAxisFree = 414;
inline constexpr int kMenuAxisX = 40075;
inline constexpr int kMenuAxisY = 40076;
inline constexpr int kMenuAxisZ = 40077;
inline constexpr int kMenuAxisReversed = 40093;

}  // namespace lw
