// The three textures: the generated ring pattern and the two keyed pictures.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "view/picture.h"
#include "view/ripple.h"
#include "view/scene_view.h"

namespace {

GLuint UploadPicture(const TPicture& picture) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  GLuint tex = 0;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  // The mipmap builder also rescales sides that are not powers of two.
  gluBuild2DMipmaps(GL_TEXTURE_2D, 4, picture.Width, picture.Height, GL_RGBA, GL_UNSIGNED_BYTE,
                    picture.Rgba.data());
  return tex;
}

} // namespace

namespace {

// A missing or damaged picture must not cost the rest of the start-up: a
// stand-in takes its place and the problem is told.
unsigned LoadPictureTexture(const char* file_name, const std::vector<std::string>& folders,
                            std::vector<std::string>& problems) {
  const std::string path = FindDataFile(folders, file_name);
  TPicture picture;
  std::string error;
  if (path.empty()) {
    error = std::string("Cannot open file \"") + file_name + "\". No such file or directory";
  } else if (ReadKeyedPicture(path, picture, error)) {
    return UploadPicture(picture);
  }
  problems.push_back(error);
  return UploadPicture(NeutralPicture());
}

} // namespace

void TSceneView::LoadTextures(const std::vector<std::string>& folders,
                              std::vector<std::string>& problems) {
  const std::vector<std::uint8_t> ripple = RippleImage();
  glGenTextures(1, &dc_.TexRipple);
  glBindTexture(GL_TEXTURE_2D, dc_.TexRipple);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kRippleSize, kRippleSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
               ripple.data());

  dc_.TexPicture = LoadPictureTexture("mova1.bmp", folders, problems);
  dc_.TexGreen = LoadPictureTexture("movagreen.bmp", folders, problems);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
}
