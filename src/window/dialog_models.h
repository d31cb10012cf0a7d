// The contents of the program's dialogs as plain values. A handler fills the
// model, the toolkit shows the dialog bound to it, and on OK the handler reads
// it back; tests answer dialogs by writing these fields.
#pragma once

#include <string>

#include "window/controls.h"

struct TDialogOptionsModel {
  std::string Editdt;
};

struct TDialogOptionsMRVModel {
  int RGTypeRail = 0; // item index 0..3
  bool RBModelePhysiqueSimple = false;
  bool RBModelePhysiqueSimpleCorrige = false;
  bool RBModelePhysiqueDistance = false;
};

struct TDialogRobSelModel {
  std::string IDC_EDITRobSel;
  int Devices = 9; // the dialog states the range, 0 to Devices - 1
};

// The view-coordinates dialog (modeless).
struct TFormDlgViewModel {
  bool Visible = false;
  std::string IDC_EDITxv, IDC_EDITyv, IDC_EDITzv, IDC_EDITzpos, IDC_EDITyrot, IDC_EDITxrot;
  TScrollBar ScrollBarzpos{0, 30, 0, {}};
  TScrollBar ScrollBaryrot{-180, 180, 0, {}};
  TScrollBar ScrollBarxrot{-180, 180, 0, {}};
};

struct TDialogCaptureModel {
  std::string LEfilename = "capture.avi";
  std::string LEfps = "25";
  std::string LEtime = "10";
};

// The video compression choice offered when a recording starts.
struct TDialogCompressionModel {
  enum { Uncompressed = 0, MotionJpeg = 1 };
  int Codec = Uncompressed;
  int Quality = 90; // Motion-JPEG quality, 1..100
};
