#include "render/text.h"

#include <GL/gl.h>

#include <cstring>
#include <string>

unsigned BuildFont() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const unsigned base = glGenLists(128);
  if (base == 0) return 0;
  for (int c = 32; c <= 127; ++c) {
    glNewList(base + c, GL_COMPILE);
    glBitmap(8, 12, 0, 0, 10, 0, FontGlyph(c));
    glEndList();
  }
  return base;
}

void ReleaseFont(unsigned& base) {
  if (base == 0) return;
  glDeleteLists(base, 128);
  base = 0;
}

void PrintText(unsigned base, const char* s) {
  if (!s || base == 0) return;
  // Only codes that have a glyph list: anything else (UTF-8 bytes, controls)
  // would call lists that were never compiled.
  std::string printable;
  for (const char* p = s; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c >= 32 && c <= 127) printable += static_cast<char>(c);
  }
  if (printable.empty()) return;
  glPushAttrib(GL_LIST_BIT);
  glListBase(base);
  glCallLists(static_cast<GLsizei>(printable.size()), GL_UNSIGNED_BYTE, printable.data());
  glPopAttrib();
}
