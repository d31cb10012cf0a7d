// The view's start-up in a real context: fixed state, projection, textures,
// the picture files, display lists and font, and the release at close.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "gl_test_support.h"
#include "platform/headless/image_files.h"
#include "render/text.h"
#include "view/picture.h"
#include "view/ripple.h"

namespace {
namespace KINEMO_UNITY_ID {

using TViewStartup = TGLFormTest;

std::vector<double> Projection() {
  std::vector<double> m(16);
  glGetDoublev(GL_PROJECTION_MATRIX, m.data());
  return m;
}

void ExpectListsAndFont(unsigned font) {
  for (GLuint list = kListWheelDisk; list < kListWheelDisk + kSharedListCount; ++list)
    EXPECT_TRUE(glIsList(list)) << list;
  EXPECT_GT(font, 6u);
  EXPECT_TRUE(glIsList(font + 'A') && glIsList(font + 127));
}

TEST_F(TViewStartup, ListsFontAndAClearedFrameOfLightGrey) {
  EXPECT_TRUE(form->View.Ready());
  ExpectListsAndFont(form->View.Context().FontBase);
  const TRgba8 p = Pixel(2, kHeight - 3); // far above the horizon
  EXPECT_EQ(std::vector<int>({p.r, p.g, p.b}), std::vector<int>({204, 204, 204}));
  EXPECT_TRUE(tk.Messages.empty());
}

TEST_F(TViewStartup, ProjectionFollowsTheClientSizeAndIgnoresAZeroHeight) {
  form->SetProjection(200, 100);
  const auto wide = Projection();
  // The 45-degree perspective at aspect 2 (matrices are held in single precision).
  EXPECT_NEAR(wide[5] / wide[0], 2.0, 1e-6);
  EXPECT_NEAR(wide[5], 1 / std::tan(22.5 * M_PI / 180), 1e-6);
  const float frames = form->FrameCount;
  form->SetProjection(200, 0);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], 200);
  EXPECT_EQ(vp[3], 100);
  EXPECT_EQ(Projection(), wide);
  EXPECT_EQ(form->FrameCount, frames + 1); // the frame is still drawn
}

TEST_F(TViewStartup, CloseStopsTheTimerAndReleasesWhatLivesInTheContext) {
  form->Timer1.Enabled = true;
  const GLuint ripple = form->View.Context().TexRipple;
  form->FormClose();
  EXPECT_FALSE(form->Timer1.Enabled);
  EXPECT_FALSE(form->View.Ready());
  EXPECT_FALSE(glIsList(kListGrid));
  EXPECT_FALSE(glIsTexture(ripple));
  EXPECT_EQ(form->View.Context().FontBase, 0u);
  const int swaps = tk.Swaps;
  form->RenderScene(); // counted, but draws nothing
  EXPECT_EQ(tk.Swaps, swaps + 1);
}

// Draws `texture` in decal mode over red on a quad covering the viewport, the
// top row of the picture at the top.
TFrame DrawTexturedQuad(GLuint texture, const TEglContext& gl) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor3f(1, 0, 0);
  glBegin(GL_QUADS);
  const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto& c : corners) {
    glTexCoord2d(c[0], c[1]);
    glVertex2d(2 * c[0] - 1, 1 - 2 * c[1]);
  }
  glEnd();
  glDisable(GL_TEXTURE_2D);
  return {gl.Width(), gl.Height(), gl.ReadPixels()};
}

// Restarts the view with the pictures of `dir`.
void RestartWith(TGL_Form& form, THeadlessToolkit& tk, const TScratchDir& dir, int w, int h) {
  form.FormClose();
  tk.Messages.clear();
  form.TextureFolders = {dir.Dir.string()};
  form.InitGL(w, h);
}

void Bmp(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb) {
  std::string error;
  EXPECT_TRUE(WriteBmp(path, w, h, rgb, error)) << error;
}

TEST_F(TViewStartup, PureWhiteIsKeyedOutAndShowsThePrimitiveColour) {
  TScratchDir dir;
  // Top row white | almost white | blue | almost white; bottom row green | white x 3.
  Bmp(dir / "mova1.bmp", 4, 2, {255, 255, 255, 255, 255, 254, 0,   0,   255, 255, 255, 254, //
                                0,   255, 0,   255, 255, 255, 255, 255, 255, 255, 255, 255});
  // Sides that are not powers of two are accepted (rescaled).
  Bmp(dir / "movagreen.bmp", 3, 5, std::vector<std::uint8_t>(45, 255));
  RestartWith(*form, tk, dir, kWidth, kHeight);
  ASSERT_TRUE(tk.Messages.empty()) << tk.Messages[0].Text;
  const TFrame f = DrawTexturedQuad(form->View.Context().TexPicture, gl);
  auto at = [&](double u, double v) {
    const TRgba8 p = f.At(int(u * kWidth), int((1 - v) * kHeight));
    return std::vector<int>{p.r, p.g, p.b};
  };
  EXPECT_EQ(at(0.125, 0.25), std::vector<int>({255, 0, 0}));
  EXPECT_EQ(at(0.375, 0.25), std::vector<int>({255, 255, 254}));
  EXPECT_EQ(at(0.625, 0.25), std::vector<int>({0, 0, 255}));
  EXPECT_EQ(at(0.125, 0.75), std::vector<int>({0, 255, 0}));
  const TFrame g = DrawTexturedQuad(form->View.Context().TexGreen, gl);
  EXPECT_TRUE(Near(g.At(kWidth / 2, kHeight / 2), {1, 0, 0}, 0));
}

TEST_F(TViewStartup, MissingOrDamagedPictureIsReportedAndStartUpCompletes) {
  // The header of a bitmap of 24-bit pixels with the sides given.
  auto header = [](std::uint32_t w, std::uint32_t h) {
    std::string b(54, '\0');
    const std::pair<int, std::uint32_t> fields[] = {{0, 0x4D42}, {10, 54}, {14, 40}, {18, w},
                                                    {22, h},     {26, 1},  {28, 24}};
    for (const auto& [at, v] : fields)
      for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<char>((v >> (8 * k)) & 0xff);
    return b;
  };
  const std::pair<std::string, const char*> cases[] = {
      {"", "Cannot open file"}, // no file at all
      {"GIF89a\x01\x00\x01\x00", "Cannot read bitmap"},
      {"BM\x10\x00", "Cannot read bitmap"},
      {header(1000000, 1000000), "Cannot read bitmap"},
      // No rows at all: once taken for a picture read (found by fuzz_picture).
      {header(70, 0) + std::string(16, '\x01'), "Cannot read bitmap"},
  };
  for (const auto& [bytes, says] : cases) {
    SCOPED_TRACE(says);
    TScratchDir dir;
    if (!bytes.empty()) std::ofstream(dir / "mova1.bmp", std::ios::binary) << bytes;
    Bmp(dir / "movagreen.bmp", 2, 2, std::vector<std::uint8_t>(12, 40));
    RestartWith(*form, tk, dir, kWidth, kHeight);
    ASSERT_EQ(tk.Messages.size(), 1u);
    EXPECT_NE(tk.Messages[0].Text.find(says), std::string::npos) << tk.Messages[0].Text;
    EXPECT_NE(tk.Messages[0].Text.find("mova1.bmp"), std::string::npos);
    EXPECT_EQ(tk.Messages[0].Icon, TMsgIcon::Error);
    // The rest of the start-up still happened, and the stand-in is keyed out.
    EXPECT_TRUE(glIsTexture(form->View.Context().TexGreen));
    ExpectListsAndFont(form->View.Context().FontBase);
    const TFrame f = DrawTexturedQuad(form->View.Context().TexPicture, gl);
    EXPECT_TRUE(Near(f.At(kWidth / 2, kHeight / 2), {1, 0, 0}, 0));
  }
}

TEST(PictureFiles, SearchedInTheFoldersInTurnAndTheShippedOnesHaveKeyedAreas) {
  TScratchDir a("a"), b("b");
  std::ofstream(b / "x.bmp") << "b";
  EXPECT_EQ(FindDataFile({a.Dir.string(), b.Dir.string()}, "x.bmp"), b / "x.bmp");
  std::ofstream(a / "x.bmp") << "a";
  EXPECT_EQ(FindDataFile({a.Dir.string(), b.Dir.string()}, "x.bmp"), a / "x.bmp");
  EXPECT_EQ(FindDataFile({a.Dir.string()}, "none.bmp"), "");

  TFormFixture f;
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

} // namespace KINEMO_UNITY_ID
} // namespace
