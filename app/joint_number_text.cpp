#include "app/joint_number_text.h"

namespace lw {

namespace {

constexpr UINT kCodePage932 = 932;
constexpr GLsizei kSingleByteCount = 256;

bool isLeadByte(unsigned char c) { return IsDBCSLeadByteEx(kCodePage932, c) != 0; }

}  // namespace

void WglTextDrawer::create(HDC dc, HFONT font) {
  dc_ = dc;
  font_ = font;
  const HGDIOBJ previous = SelectObject(dc, font);
  base_ = glGenLists(kSingleByteCount);
  if (base_ != 0 && !wglUseFontBitmapsA(dc, 0, kSingleByteCount, base_)) {
    glDeleteLists(base_, kSingleByteCount);
    base_ = 0;
  }
  SelectObject(dc, previous);
}

void WglTextDrawer::destroy() {
  if (base_ != 0) glDeleteLists(base_, kSingleByteCount);
  base_ = 0;
}

bool WglTextDrawer::drawText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(text[i])) && ++i == text.size()) return false;
  }
  if (base_ == 0) return true;
  const HGDIOBJ previous = SelectObject(dc_, font_);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!isLeadByte(c)) {
      glCallList(base_ + c);
      continue;
    }
    wchar_t wide = 0;
    MultiByteToWideChar(kCodePage932, 0, text.data() + i, 2, &wide, 1);
    ++i;
    const GLuint list = glGenLists(1);
    if (list != 0 && wglUseFontBitmapsW(dc_, wide, 1, list)) glCallList(list);
    if (list != 0) glDeleteLists(list, 1);
  }
  SelectObject(dc_, previous);
  return true;
}

}  // namespace lw
