// The render pass drawn through EGL: the marker, the grid, the device frame, the
// text printer; and the frame counter.
#include <GL/gl.h>

#include <array>
#include <cstring>

#include "gl_test_support.h"
#include "render/text.h"

namespace {
namespace KINEMO_UNITY_ID {

using TViewRender = TGLFormTest;

const TRgb kYellow{1, 1, 0}, kShadow{0.4f, 0.4f, 0.4f}, kGridGrey{0.6f, 0.6f, 0.6f},
    kClear{0.8f, 0.8f, 0.8f};

TEST_F(TViewRender, ViewCentreMarkerSitsAtTheScreenCentreWithAFixedSize) {
  int first_area = -1;
  for (double zpos : {0.5, 2.0, 8.0}) {
    SCOPED_TRACE(zpos);
    LookDownAt(4.3, -6.2, zpos);
    form->RenderScene();
    const TFrame f = Read();
    EXPECT_TRUE(Near(f.At(kWidth / 2, kHeight / 2), kYellow));
    const int area = CountNear(f, kYellow, kWidth / 2, kHeight / 2, 60);
    if (first_area < 0) first_area = area;
    EXPECT_NEAR(area, first_area, first_area * 0.05);
  }
  EXPECT_GT(first_area, 50);
}

TEST_F(TViewRender, MarkerShadowLiesOnTheGroundBelowTheViewCentre) {
  LookDownAt(6, 6, 2);
  form->yv = 0.3;
  form->xrot = 30;
  form->yrot = 20;
  form->RenderScene();
  double wx = 0, wy = 0;
  ASSERT_TRUE(ProjectDevice(6, 6, 0, wx, wy));
  EXPECT_LT(wy, kHeight / 2 - 20); // below the marker on screen
  EXPECT_GT(CountNear(Read(), kShadow, wx, wy, 2), 0);
}

TEST_F(TViewRender, GridIsAWireGridWithoutDiagonals) {
  LookDownAt(4.6, 4.6, 3);
  auto sample = [&](double x, double y, TRgb c, int radius) {
    double wx = 0, wy = 0;
    EXPECT_TRUE(ProjectDevice(x, y, 0, wx, wy));
    return CountNear(Read(), c, wx, wy, radius);
  };
  form->RenderScene();
  EXPECT_GT(sample(5.5, 5.2, kGridGrey, 1), 0);  // a cell side
  EXPECT_GT(sample(5.2, 5.0, kGridGrey, 1), 0);  // the other direction
  EXPECT_EQ(sample(5.25, 5.1, kGridGrey, 2), 0); // inside a cell: not filled
  EXPECT_EQ(sample(5.3, 5.3, kGridGrey, 1), 0);  // on the cell's diagonal
  EXPECT_GT(sample(5.25, 5.1, kClear, 2), 20);

  // The flag only counts when the list is built.
  form->ShowDiagonals = true;
  form->RenderScene();
  EXPECT_EQ(sample(5.3, 5.3, kGridGrey, 1), 0);
  form->RebuildGrid();
  form->RenderScene();
  EXPECT_GT(sample(5.3, 5.3, kGridGrey, 1), 0);
}

// Records the model-view matrix each time the scene asks it to draw.
class TDrawSpy : public TRobot {
public:
  TDrawSpy(int index, std::vector<int>& order) : TRobot(0, 0, index), order_(order) {}
  void Draw(const TDrawContext& /*dc*/) const override {
    order_.push_back(Index);
    glGetDoublev(GL_MODELVIEW_MATRIX, Matrix);
    glColor3f(1, 0, 1);
    glBegin(GL_QUADS); // a 0.2 square around device (1, 2)
    glVertex3d(0.9, 1.9, 0);
    glVertex3d(1.1, 1.9, 0);
    glVertex3d(1.1, 2.1, 0);
    glVertex3d(0.9, 2.1, 0);
    glEnd();
  }
  mutable double Matrix[16] = {}; // what the last drawing saw

private:
  std::vector<int>& order_;
};

TEST_F(TViewRender, EveryDeviceDrawsInOrderInDeviceCoordinates) {
  std::vector<int> order;
  std::vector<TDrawSpy*> spies;
  for (int i = 0; i < form->Sim.NbRobots; ++i)
    spies.push_back(Replace(i, new TDrawSpy(i, order)));
  LookDownAt(1, 1, 4);
  form->xrot = 35;
  form->yrot = -60;
  form->RenderScene();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  double wx = 0, wy = 0;
  ASSERT_TRUE(ProjectDevice(1, 2, 0, wx, wy));
  EXPECT_GT(CountNear(Read(), {1, 0, 1}, wx, wy, 1), 0);
}

// Deferred, a tick's frame is drawn only when asked for, and once; the rest
// of the render pass runs at every tick, and other renders draw at once.
TEST_F(TViewRender, DeferredTickFramesAreDrawnOnlyWhenAskedFor) {
  std::vector<int> order;
  for (int i = 0; i < form->Sim.NbRobots; ++i)
    Replace(i, new TDrawSpy(i, order));
  form->DeferTickFrames = true;
  form->AnimateClick();
  const int swaps = tk.Swaps;
  form->Timer1Timer();
  form->Timer1Timer();
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(tk.Swaps, swaps + 2);
  form->DrawPendingFrame();
  form->DrawPendingFrame();
  EXPECT_EQ(order.size(), 9u);
  form->FormPaint();
  form->DrawPendingFrame();
  EXPECT_EQ(order.size(), 18u);
}

// Texts of every device, of the selected one alone, or none: only the pixels
// of the texts hidden change.
TEST_F(TViewRender, LabelsModeChangesOnlyThePixelsOfTheTextsItHides) {
  form->SelectDevice(0); // among devices 1 and 2
  LookDownAt(-0.8, -1, 2.5);
  std::array<TFrame, 3> frames;
  for (const TLabelsShown mode : {TLabelsShown::All, TLabelsShown::Selected, TLabelsShown::None}) {
    form->View.Labels = mode;
    form->RenderScene();
    frames[static_cast<std::size_t>(mode)] = Read();
  }
  const TFrame &all = frames[0], &selected = frames[1], &none = frames[2];
  const auto same = [](TRgba8 a, TRgba8 b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
  int others = 0, own = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (!same(all.At(x, y), selected.At(x, y))) {
        ASSERT_TRUE(Near(all.At(x, y), LabelColour(false))) << x << ", " << y;
        ++others;
      }
      if (!same(selected.At(x, y), none.At(x, y))) {
        ASSERT_TRUE(Near(selected.At(x, y), LabelColour(true))) << x << ", " << y;
        ++own;
      }
    }
  EXPECT_GT(others, 20);
  EXPECT_GT(own, 20);
}

// Puts the raster position on window pixel (x, y).
void RasterAt(int x, int y, int w, int h) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRasterPos2d(-1 + 2.0 * x / w, -1 + 2.0 * y / h);
}

TEST_F(TViewRender, LabelTwelveIsTwentyByTwelvePixelsOnItsBaseline) {
  const TRgb orange = LabelColour(true);
  auto draw = [&](const char* text) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetLabelColour(true); // the raster position takes the colour current when it is set
    RasterAt(100, 100, kWidth, kHeight);
    PrintText(form->View.Context().FontBase, text);
    return Read();
  };
  const TFrame f = draw("12");
  int x0 = kWidth, x1 = -1, y0 = kHeight, y1 = -1, in_second = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (Near(f.At(x, y), orange)) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        in_second += x >= 110;
      }
  // Inside the two 10 x 12 cells from the raster position, resting on row 2.
  EXPECT_GE(x0, 100);
  EXPECT_LT(x1, 120);
  EXPECT_EQ(y0, 102);
  EXPECT_LT(y1, 112);
  EXPECT_GT(in_second, 10);
  GLdouble raster[4];
  glGetDoublev(GL_CURRENT_RASTER_POSITION, raster);
  EXPECT_EQ(raster[0], 120);
  EXPECT_EQ(raster[1], 100);

  // Bytes outside 32..127 draw nothing and do not move the raster position.
  const TFrame g = draw("\xC3\xA9"
                        "1\x01"
                        "2\xFF");
  EXPECT_EQ(g.Rgba, f.Rgba);
  glGetDoublev(GL_CURRENT_RASTER_POSITION, raster);
  EXPECT_EQ(raster[0], 120);
}

TEST(FontGlyphs, PrintableCharactersHaveDistinctGlyphsOnTheBaseline) {
  EXPECT_EQ(std::vector<std::uint8_t>(FontGlyph(' '), FontGlyph(' ') + 12),
            std::vector<std::uint8_t>(12));
  EXPECT_EQ(FontGlyph(31), nullptr);
  EXPECT_EQ(FontGlyph(128), nullptr);
  for (int c = 33; c <= 127; ++c) {
    const std::uint8_t* g = FontGlyph(c);
    EXPECT_NE(std::vector<std::uint8_t>(g, g + 12), std::vector<std::uint8_t>(12)) << c;
    for (int d = 33; d < c; ++d)
      EXPECT_NE(std::memcmp(g, FontGlyph(d), 12), 0) << "same glyph for " << c << " and " << d;
  }
  // Capitals and digits stand on the baseline and reach row 10 at most.
  for (const char* p = "ABCDEFGHIJKLMNOPRSTUVWXYZ0123456789"; *p; ++p) {
    const std::uint8_t* g = FontGlyph(*p);
    EXPECT_TRUE(g[0] == 0 && g[1] == 0 && g[11] == 0 && g[2] != 0) << *p;
  }
}

// The frame counter restarts at the frame that opens a new one-second window.
TEST(FrameCounter, CountsFramesWithinEachSecond) {
  struct TStep {
    std::uint32_t now_ms;
    float count;
    float window_start;
  };
  const TStep steps[] = {{0, 1, 0},       {500, 2, 0},     {1000, 3, 0},   {1200, 0, 1.2f},
                         {1300, 1, 1.2f}, {2100, 2, 1.2f}, {2300, 0, 2.3f}};
  TFormFixture f; // no context: frames are counted all the same
  for (const TStep& s : steps) {
    f.tk.NowMs = s.now_ms;
    f.form->RenderScene();
    EXPECT_EQ(f.form->FrameCount, s.count) << s.now_ms;
    EXPECT_EQ(f.form->FrameWindowStart, s.window_start) << s.now_ms;
  }
  EXPECT_EQ(f.tk.Swaps, 7);
}

} // namespace KINEMO_UNITY_ID
} // namespace
