// The view-coordinates dialog: its edits and scroll bars follow the camera, and
// while it is shown they write back into it.
#include <cmath>

#include "texts/number_text.h"
#include "window/gl_form.h"

namespace {

constexpr char kEnter = 13;

std::string General6(double v, char separator) {
  return FloatToStrF(v, TFloatFormat::General, 6, 6, separator);
}

// Truncated toward zero and clamped in floating point first, so that a huge or
// undefined value cannot overflow the integer conversion.
int BarPosition(const TScrollBar& bar, double v) {
  if (std::isnan(v)) return bar.Min;
  const double t = std::trunc(v);
  if (t <= bar.Min) return bar.Min;
  if (t >= bar.Max) return bar.Max;
  return static_cast<int>(t);
}

} // namespace

void TGL_Form::RefreshViewEdits() {
  const char sep = toolkit_.DecimalSeparator();
  TFormDlgViewModel& d = FormDlgView;
  d.IDC_EDITxv = General6(xv, sep);
  d.IDC_EDITzv = General6(zv, sep);
  d.IDC_EDITyv = General6(yv, sep);
  d.IDC_EDITzpos = General6(zpos, sep);
  d.IDC_EDITyrot = General6(yrot, sep);
  d.IDC_EDITxrot = General6(xrot, sep);
}

void TGL_Form::RefreshViewDialog() {
  RefreshViewEdits();
  TFormDlgViewModel& d = FormDlgView;
  // Each position set may fire its bar's change handler, which (dialog shown)
  // writes the integer back into the view value.
  d.ScrollBarzpos.SetPosition(BarPosition(d.ScrollBarzpos, zpos));
  d.ScrollBarxrot.SetPosition(BarPosition(d.ScrollBarxrot, xrot));
  d.ScrollBaryrot.SetPosition(BarPosition(d.ScrollBaryrot, yrot));
}

void TGL_Form::ViewClick() {
  RefreshViewDialog();
  FormDlgView.Visible = !FormDlgView.Visible;
  toolkit_.SetDialogVisible(TDialogId::View, FormDlgView.Visible);
}

void TGL_Form::ButtonResetClick() {
  ResetView();
}

void TGL_Form::ScrollBarzposChange() {
  if (!FormDlgView.Visible) return;
  zpos = FormDlgView.ScrollBarzpos.Position;
  FormDlgView.IDC_EDITzpos = General6(zpos, toolkit_.DecimalSeparator());
  RenderScene();
}

void TGL_Form::ScrollBaryrotChange() {
  if (!FormDlgView.Visible) return;
  yrot = FormDlgView.ScrollBaryrot.Position;
  FormDlgView.IDC_EDITyrot = General6(yrot, toolkit_.DecimalSeparator());
  RenderScene();
}

void TGL_Form::ScrollBarxrotChange() {
  if (!FormDlgView.Visible) return;
  xrot = FormDlgView.ScrollBarxrot.Position;
  FormDlgView.IDC_EDITxrot = General6(xrot, toolkit_.DecimalSeparator());
  RenderScene();
}

bool TGL_Form::EditEntered(char key, const std::string& text, double& value) {
  if (key != kEnter) return false;
  const auto v = StrToFloat(text, toolkit_.DecimalSeparator());
  if (!v) {
    ShowConversionError(NotAFloatMessage(text));
    return false;
  }
  value = *v;
  return true;
}

void TGL_Form::IDC_EDITxvKeyPress(char Key) {
  EditEntered(Key, FormDlgView.IDC_EDITxv, xv);
}
void TGL_Form::IDC_EDITyvKeyPress(char Key) {
  EditEntered(Key, FormDlgView.IDC_EDITyv, yv);
}
void TGL_Form::IDC_EDITzvKeyPress(char Key) {
  EditEntered(Key, FormDlgView.IDC_EDITzv, zv);
}

void TGL_Form::IDC_EDITzposKeyPress(char Key) {
  if (EditEntered(Key, FormDlgView.IDC_EDITzpos, zpos))
    FormDlgView.ScrollBarzpos.SetPosition(BarPosition(FormDlgView.ScrollBarzpos, zpos));
}

void TGL_Form::IDC_EDITyrotKeyPress(char Key) {
  if (EditEntered(Key, FormDlgView.IDC_EDITyrot, yrot))
    FormDlgView.ScrollBaryrot.SetPosition(BarPosition(FormDlgView.ScrollBaryrot, yrot));
}

void TGL_Form::IDC_EDITxrotKeyPress(char Key) {
  if (EditEntered(Key, FormDlgView.IDC_EDITxrot, xrot))
    FormDlgView.ScrollBarxrot.SetPosition(BarPosition(FormDlgView.ScrollBarxrot, xrot));
}
