// What drawing reads besides the device it draws: the names of the shared
// resources made in the current OpenGL context (textures, display lists, the
// font) and the size every wheel is drawn at. The view that made them passes
// one in; nothing of it is global, so two views in two contexts never meet.
#pragma once

// The shared display lists, compiled by the view in each context.
enum TDisplayList : unsigned {
  kListWheelDisk = 1,
  kListTyre = 2,
  kListAxle = 3,
  kListBody = 4,
  kListAxes = 5,
  kListGrid = 6,
};
inline constexpr unsigned kSharedListCount = 6;

struct TDrawContext {
  // Texture names; 0 until the view has loaded them.
  unsigned TexRipple = 0;
  unsigned TexPicture = 0;
  unsigned TexGreen = 0;
  // First of the font's 128 display lists; 0: texts draw nothing.
  unsigned FontBase = 0;
  // Every wheel is drawn at the reference robot's size, like the shared
  // lists; without one (RefWheelR 0) each at its own.
  double RefWheelR = 0;
  double RefWheelTube = 0;
};
