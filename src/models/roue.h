// TRoue: the wheel record of every wheeled device. The owner advances its angles;
// the wheel only stores them and draws itself in the owner's body frame.
#pragma once

class TFieldVisitor;
struct TDrawContext;

class TRoue {
public:
  TRoue() = default;

  // Draws the wheel centred at (xOffset, yOffset, 0) of the current frame (the
  // owner's body frame at axle height). Mode 2 draws a spoked tyre, any other
  // mode the disc. Needs a current GL context with the shared display lists.
  void Draw(const TDrawContext& dc, double xOffset, double yOffset, int mode) const;

  void VisitFields(TFieldVisitor& v) const;

  double Mass = 0.01;
  double R = 0.05;
  double Tube = 0.01;
  double SpinRate = 0;
  double Phi = 0;
  double Delta = 0;
};

// Lists an owned wheel as a nested object, or as null when the slot is empty.
void VisitWheel(TFieldVisitor& v, const char* name, const TRoue* wheel);
