// The view's start-up in a real context: fixed state, projection, textures,
// the picture files, display lists and font, and the release at close.
#include <unistd.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <filesystem>

#include "app/picture.h"
#include "app/ripple.h"
#include "gl_test_support.h"
#include "platform/headless/image_files.h"
#include "render/text.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder for picture files, removed afterwards.
struct TScratch {
  fs::path dir;
  TScratch() {
    dir =
        fs::temp_directory_path() /
        ("kinemo_" + std::to_string(::getpid()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  ~TScratch() { fs::remove_all(dir); }
  std::string Bmp(const std::string& name, int w, int h, const std::vector<std::uint8_t>& rgb) {
    std::string error;
    EXPECT_TRUE(WriteBmp((dir / name).string(), w, h, rgb, error)) << error;
    return (dir / name).string();
  }
  void Raw(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
};

std::vector<double> Matrix(GLenum which) {
  std::vector<double> m(16);
  glGetDoublev(which, m.data());
  return m;
}

using TViewStartup = TGLFormTest;

TEST_F(TViewStartup, FixedStateAndAClearedFrameOfLightGrey) {
  EXPECT_TRUE(form->GLReady);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint env = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
  EXPECT_EQ(env, GL_DECAL);
  // A corner far above the horizon shows the clear colour.
  const TRgba8 p = Pixel(2, kHeight - 3);
  EXPECT_EQ(p.r, 204);
  EXPECT_EQ(p.g, 204);
  EXPECT_EQ(p.b, 204);
  EXPECT_EQ(tk.Messages.size(), 0u) << tk.Messages[0].Text;
}

TEST_F(TViewStartup, ProjectionFollowsTheClientSizeAndIgnoresAZeroHeight) {
  form->SetProjection(200, 100);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], 200);
  EXPECT_EQ(vp[3], 100);
  const auto wide = Matrix(GL_PROJECTION_MATRIX);
  // f / aspect over f: the 45-degree perspective at aspect 2.
  EXPECT_NEAR(wide[5] / wide[0], 2.0, 1e-6); // matrices are held in single precision
  EXPECT_NEAR(wide[5], 1 / std::tan(22.5 * M_PI / 180), 1e-6);

  const float frames = form->FrameCount;
  form->SetProjection(200, 0);
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[3], 100);
  EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), wide);
  for (double v : Matrix(GL_PROJECTION_MATRIX))
    EXPECT_TRUE(std::isfinite(v));
  // The frame is still drawn.
  EXPECT_EQ(form->FrameCount, frames + 1);
}

TEST_F(TViewStartup, RippleTextureIsTheGeneratedRingPattern) {
  std::vector<std::uint8_t> texels(kRippleSize * kRippleSize * 3);
  glBindTexture(GL_TEXTURE_2D, form->TexRipple);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels, RippleImage());
  const std::uint8_t* centre = &texels[(128 * kRippleSize + 128) * 3];
  EXPECT_EQ(centre[0], 254); // trunc((cos 0.1 + 1) * 127.5)
  EXPECT_EQ(centre[1], 128);
  EXPECT_EQ(centre[2], 128);
  // Rings: the red channel runs through its whole range along a row.
  int lo = 255, hi = 0;
  for (int j = 0; j < kRippleSize; ++j) {
    lo = std::min<int>(lo, texels[(128 * kRippleSize + j) * 3]);
    hi = std::max<int>(hi, texels[(128 * kRippleSize + j) * 3]);
  }
  EXPECT_LE(lo, 2);
  EXPECT_GE(hi, 254);
}

TEST_F(TViewStartup, DisplayListsOneToSixAndTheFontExist) {
  for (GLuint list = 1; list <= 6; ++list)
    EXPECT_TRUE(glIsList(list)) << list;
  ASSERT_NE(FontBase, 0u);
  EXPECT_GT(FontBase, 6u);
  EXPECT_TRUE(glIsList(FontBase + 'A'));
  EXPECT_TRUE(glIsList(FontBase + 127));
}

TEST_F(TViewStartup, CloseStopsTheTimerAndReleasesWhatLivesInTheContext) {
  form->Timer1.Enabled = true;
  const GLuint ripple = form->TexRipple;
  form->FormClose();
  EXPECT_FALSE(form->Timer1.Enabled);
  EXPECT_FALSE(form->GLReady);
  EXPECT_FALSE(glIsList(6));
  EXPECT_FALSE(glIsTexture(ripple));
  EXPECT_EQ(FontBase, 0u);
  // Frames after close are counted but draw nothing.
  const int swaps = tk.Swaps;
  form->RenderScene();
  EXPECT_EQ(tk.Swaps, swaps + 1);
}

// Draws a unit quad covering the viewport with `texture` in decal mode over red.
TFrame DrawTexturedQuad(TGLFormTest& t, GLuint texture, const TEglContext& gl) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor3f(1, 0, 0);
  glBegin(GL_QUADS);
  glTexCoord2d(0, 0);
  glVertex2d(-1, 1); // t = 0 is the top row of the picture
  glTexCoord2d(1, 0);
  glVertex2d(1, 1);
  glTexCoord2d(1, 1);
  glVertex2d(1, -1);
  glTexCoord2d(0, 1);
  glVertex2d(-1, -1);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  (void)t;
  return {gl.Width(), gl.Height(), gl.ReadPixels()};
}

TEST_F(TViewStartup, PureWhiteIsKeyedOutAndShowsThePrimitiveColour) {
  TScratch scratch;
  // Top row white | almost white | blue | almost white; bottom row green | white x 3.
  scratch.Bmp("mova1.bmp", 4, 2, {255, 255, 255, 255, 255, 254, 0,   0,   255, 255, 255, 254, //
                                  0,   255, 0,   255, 255, 255, 255, 255, 255, 255, 255, 255});
  // Sides that are not powers of two are accepted (rescaled).
  scratch.Bmp("movagreen.bmp", 3, 5, std::vector<std::uint8_t>(45, 255));
  form->FormClose();
  form->TextureFolders = {scratch.dir.string()};
  form->InitGL(kWidth, kHeight);
  form->SetProjection(kWidth, kHeight);
  ASSERT_TRUE(tk.Messages.empty()) << tk.Messages[0].Text;

  const TFrame f = DrawTexturedQuad(*this, form->TexPicture, gl);
  auto at = [&](double u, double v) { return f.At(int(u * kWidth), int((1 - v) * kHeight)); };
  const TRgba8 white = at(0.125, 0.25), almost = at(0.375, 0.25), blue = at(0.625, 0.25);
  EXPECT_EQ((std::vector<int>{white.r, white.g, white.b}), (std::vector<int>{255, 0, 0}));
  EXPECT_EQ((std::vector<int>{almost.r, almost.g, almost.b}), (std::vector<int>{255, 255, 254}));
  EXPECT_EQ((std::vector<int>{blue.r, blue.g, blue.b}), (std::vector<int>{0, 0, 255}));
  const TRgba8 green = at(0.125, 0.75);
  EXPECT_EQ((std::vector<int>{green.r, green.g, green.b}), (std::vector<int>{0, 255, 0}));

  // The all-white carriage picture (3 x 5) is keyed out everywhere.
  const TFrame g = DrawTexturedQuad(*this, form->TexGreen, gl);
  EXPECT_TRUE(Near(g.At(kWidth / 2, kHeight / 2), {1, 0, 0}, 0));
}

struct TBadPicture {
  const char* name;
  std::string bytes; // empty: no file at all
  const char* says;
};

TEST_F(TViewStartup, MissingOrDamagedPictureIsReportedAndStartUpCompletes) {
  std::string header(54, '\0');
  header[0] = 'B';
  header[1] = 'M';
  header[10] = 54;
  header[14] = 40;
  auto put32 = [&](int at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
      header[at + k] = static_cast<char>((v >> (8 * k)) & 0xff);
  };
  put32(18, 1000000); // width
  put32(22, 1000000); // height
  header[26] = 1;
  header[28] = 24;
  const TBadPicture cases[] = {
      {"missing", "", "Cannot open file"},
      {"not a bitmap", "GIF89a\x01\x00\x01\x00", "Cannot read bitmap"},
      {"truncated header", "BM\x10\x00", "Cannot read bitmap"},
      {"absurd size", header, "Cannot read bitmap"},
  };
  for (const TBadPicture& c : cases) {
    SCOPED_TRACE(c.name);
    TScratch scratch;
    if (!c.bytes.empty()) scratch.Raw("mova1.bmp", c.bytes);
    scratch.Bmp("movagreen.bmp", 2, 2, std::vector<std::uint8_t>(12, 40));
    form->FormClose();
    tk.Messages.clear();
    form->TextureFolders = {scratch.dir.string()};
    form->InitGL(kWidth, kHeight);

    ASSERT_EQ(tk.Messages.size(), 1u);
    EXPECT_NE(tk.Messages[0].Text.find(c.says), std::string::npos) << tk.Messages[0].Text;
    EXPECT_NE(tk.Messages[0].Text.find("mova1.bmp"), std::string::npos);
    EXPECT_EQ(tk.Messages[0].Icon, TMsgIcon::Error);
    // The rest of the start-up still happened.
    EXPECT_TRUE(glIsTexture(form->TexPicture));
    EXPECT_TRUE(glIsTexture(form->TexGreen));
    for (GLuint list = 1; list <= 6; ++list)
      EXPECT_TRUE(glIsList(list));
    EXPECT_NE(FontBase, 0u);
    // The stand-in is keyed out: the body colour shows.
    const TFrame f = DrawTexturedQuad(*this, form->TexPicture, gl);
    EXPECT_TRUE(Near(f.At(kWidth / 2, kHeight / 2), {1, 0, 0}, 0));
  }
}

TEST(PictureFiles, SearchedInTheFoldersInTurn) {
  TScratch a, b;
  std::ofstream(b.dir / "x.bmp") << "b";
  EXPECT_EQ(FindDataFile({a.dir.string(), b.dir.string()}, "x.bmp"), (b.dir / "x.bmp").string());
  std::ofstream(a.dir / "x.bmp") << "a";
  EXPECT_EQ(FindDataFile({a.dir.string(), b.dir.string()}, "x.bmp"), (a.dir / "x.bmp").string());
  EXPECT_EQ(FindDataFile({a.dir.string()}, "none.bmp"), "");
}

TEST(PictureFiles, TheShippedPicturesAreFoundAndHaveKeyedAreas) {
  TFormFixture f;
  const std::string path = FindDataFile(f.form->TextureFolders, "mova1.bmp");
  ASSERT_FALSE(path.empty());
  for (const char* name : {"mova1.bmp", "movagreen.bmp"}) {
    TPicture p;
    std::string error;
    ASSERT_TRUE(ReadKeyedPicture(FindDataFile(f.form->TextureFolders, name), p, error)) << error;
    int keyed = 0;
    for (std::size_t i = 3; i < p.Rgba.size(); i += 4)
      keyed += p.Rgba[i] == 0;
    EXPECT_GT(keyed, 0) << name;
    EXPECT_LT(keyed, p.Width * p.Height) << name;
  }
}

} // namespace
