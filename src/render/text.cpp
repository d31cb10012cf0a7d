#include "render/text.h"

#include <GL/gl.h>

#include <cstring>
#include <string>

unsigned FontBase = 0;

void BuildFont() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  FontBase = glGenLists(128);
  if (FontBase == 0) return;
  for (int c = 32; c <= 127; ++c) {
    glNewList(FontBase + c, GL_COMPILE);
    glBitmap(8, 12, 0, 0, 10, 0, FontGlyph(c));
    glEndList();
  }
}

void ReleaseFont() {
  if (FontBase == 0) return;
  glDeleteLists(FontBase, 128);
  FontBase = 0;
}

void PrintText(const char* s) {
  if (!s || FontBase == 0) return;
  // Only codes that have a glyph list: anything else (UTF-8 bytes, controls)
  // would call lists that were never compiled.
  std::string printable;
  for (const char* p = s; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c >= 32 && c <= 127) printable += static_cast<char>(c);
  }
  if (printable.empty()) return;
  glPushAttrib(GL_LIST_BIT);
  glListBase(FontBase);
  glCallLists(static_cast<GLsizei>(printable.size()), GL_UNSIGNED_BYTE, printable.data());
  glPopAttrib();
}
