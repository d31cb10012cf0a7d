// The 3D view of a simulation in an OpenGL context: the resources it makes
// there (fixed state, textures, the shared display lists, the font) and the
// frame it draws from the simulation and the camera. The window's form owns
// one; each context needs its own.
#pragma once

#include <string>
#include <vector>

#include "render/draw_context.h"
#include "view/ref_geometry.h"

class TSimulation;

// Where the camera looks from: the view centre (x, scene z, height), its
// distance from it, its azimuth and elevation in degrees.
struct TCameraPose {
  double xv = 0, zv = 0, yv = 0;
  double zpos = 0;
  double yrot = 0, xrot = 0;
};

// The sizes the magnified pole and tooth of the reluctance carriage are drawn at.
struct TInsetSizes {
  double ToothWidth = 0;
  double RailWidth = 0;
};

// Whose 3D texts (index, values) are drawn: zoomed out, every device's pile
// up into an unreadable block.
enum class TLabelsShown { All, Selected, None };

class TSceneView {
public:
  TLabelsShown Labels = TLabelsShown::All;

  // Builds everything in the current context for a client of `width` x
  // `height` pixels. Pictures are looked for in `folders` in turn ("" is the
  // working directory); one missing or damaged is replaced by a stand-in and
  // its message added to `problems`.
  void Init(int width, int height, const std::vector<std::string>& folders,
            const TRefGeometry& reference, bool diagonals, std::vector<std::string>& problems);
  // The viewport and perspective for a new client size (kept for an empty one).
  void SetProjection(int width, int height);
  // The ground grid again, with or without the diagonals of its cells.
  void RebuildGrid(bool diagonals);
  // One frame of `sim` seen from `camera`.
  void Draw(const TSimulation& sim, const TCameraPose& camera, const TInsetSizes& inset) const;
  // Releases what lives in the context, before the context goes.
  void Release();

  // True between Init and Release: without it nothing is drawn.
  bool Ready() const { return ready_; }
  // What the devices' drawing reads of the view.
  const TDrawContext& Context() const { return dc_; }
  // The wheel size every wheel is drawn at (the reference robot's).
  void SetReferenceWheel(double radius, double tube) {
    dc_.RefWheelR = radius;
    dc_.RefWheelTube = tube;
  }

private:
  void LoadTextures(const std::vector<std::string>& folders, std::vector<std::string>& problems);
  void BuildDisplayLists(const TRefGeometry& reference, bool diagonals);
  void DrawToothInset(const TSimulation& sim, const TCameraPose& camera,
                      const TInsetSizes& inset) const;

  bool ready_ = false;
  TDrawContext dc_;
};
