// Drawing pieces the devices share: ground marks, flat rings, arrows, shaded
// boxes and the label colours. Immediate-mode OpenGL 1.x with GLU; every call
// needs a current context. Quadrics are created and released inside each call.
#pragma once

struct TRgb {
  float r, g, b;
};

// Orange for the selected device, dark blue for the others.
TRgb LabelColour(bool selected);
void SetLabelColour(bool selected);

// A flat annulus in the plane z = 0 (a GLU cylinder of height 0, 20 slices, 1 stack,
// fill style, smooth normals).
void FlatRing(double inner_radius, double outer_radius);

// The robots' ground marks at z = 0: a thin yellow circle at the contact radius,
// a red band inside it while in contact, a green disc while recoiling.
void GroundMarks(double radius, bool in_contact, bool recoiling);

// The outline arrow as one closed polygon of length `length` pointing along +y in
// the plane z = 0 (a negative length points backwards). The caller sets the colour
// and the polygon mode.
void OutlineArrowXY(double length);
// The same outline pointing along +z in the plane y = 0.
void OutlineArrowXZ(double length);

// A solid arrow along +z: a GLU shaft of radius 0.001 over 0.8 L, then a cone of
// base radius 0.002 over 0.2 L (fill style, smooth normals, 8 slices, 16 stacks).
void GluArrow(double length);

// An axis-aligned box drawn as quads, each face in its own colour; faces whose
// `draw` flag is false are left out.
struct TBoxFaces {
  TRgb top, bottom, xmin, xmax, ymin, ymax;
  bool draw_bottom = true;
  bool draw_top = true;
};
void ShadedBox(double x0, double y0, double z0, double x1, double y1, double z1,
               const TBoxFaces& faces);
// The usual shading of a base colour: top and bottom 0.55, faces normal to x 0.4,
// faces normal to y 0.45.
TBoxFaces ThreeShades(TRgb base, bool with_bottom);
