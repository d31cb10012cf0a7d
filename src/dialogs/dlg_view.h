// "Coordonnées de visualisation": the modeless view dialog. Its edits and
// scroll bars show TGL_Form's view model; Enter in an edit, moving a bar or
// pressing Reset runs the form's handler through `Dispatch`, which the main
// window wraps with the GL context and the mirroring of every control.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;
class QScrollBar;
class TGL_Form;
struct TScrollBar;

class TFormDlgView : public QDialog {
public:
  using TDispatch = std::function<void(const std::function<void()>&)>;
  TFormDlgView(TGL_Form& form, TDispatch dispatch, QWidget* parent = nullptr);

  // Copies the model into the controls. An edit whose text the model did not
  // change since the last copy keeps what the user is typing.
  void Mirror();

  QLineEdit *IDC_EDITxv, *IDC_EDITyv, *IDC_EDITzv, *IDC_EDITzpos, *IDC_EDITyrot, *IDC_EDITxrot;
  QScrollBar *ScrollBarzpos, *ScrollBaryrot, *ScrollBarxrot;
  QPushButton* ButtonReset;

protected:
  void hideEvent(QHideEvent* event) override;

private:
  QLineEdit* AddEdit(const char* name, std::string& model, void (TGL_Form::*on_key)(char));
  QScrollBar* AddBar(const char* name, TScrollBar& model);

  struct TEdit {
    QLineEdit* Widget = nullptr;
    std::string* Model = nullptr;
    std::string Shown; // the model text last copied into the widget
  };
  struct TBar {
    QScrollBar* Widget = nullptr;
    TScrollBar* Model = nullptr;
  };

  TGL_Form& form_;
  TDispatch dispatch_;
  std::array<TEdit, 6> edits_{};
  std::array<TBar, 3> bars_{};
  int edit_count_ = 0;
  int bar_count_ = 0;
};
