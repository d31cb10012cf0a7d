// The robot K as its user sees it: its keys, values and parameters.
#include "models/constants.h"
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/robots/robotk.h"
#include "models/status_part.h"

const TDeviceDescription& TRobotK::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Robot K",
      .Text =
          "Robot à entraînement différentiel : deux roues motrices indépendantes sur un même "
          "essieu central. Son mouvement est purement cinématique : la vitesse moyenne des "
          "roues le fait avancer selon son cap, leur différence le fait tourner (roue droite "
          "plus rapide : il tourne à gauche). Un choc arrête les roues ; en pilote automatique, "
          "qui répète un programme de 5 s, il repart alors en arrière. Flèches au sol : "
          "vitesse (vert) et vitesse de chaque roue (bleu).",
      .Commands = {{{vk::Numpad(7), vk::Numpad(1)},
                    "roue gauche +/− 0,25 rad/s, bornée à ± la vitesse maximale"},
                   {{vk::Numpad(4)}, "roue gauche arrêtée"},
                   {{vk::Numpad(9), vk::Numpad(3)},
                    "roue droite +/− 0,25 rad/s, bornée à ± la vitesse maximale"},
                   {{vk::Numpad(6)}, "roue droite arrêtée"},
                   {{vk::Numpad(5)}, "les deux roues à leur vitesse moyenne (tout droit)"},
                   {{vk::Letter('M')}, "pilote automatique marche / arrêt"}},
      .Quantities = {{"PosX", "Position x", "m"},
                     {"PosY", "Position y", "m"},
                     {"Theta", "Cap", "rad", kDeg, "°"},
                     {"Vit", "Vitesse (avant)", "m/s"},
                     {"Omega", "Vitesse de rotation", "rad/s", kDeg, "°/s"},
                     {"WheelL.SpinRate", "Vitesse de la roue gauche", "rad/s"},
                     {"WheelR.SpinRate", "Vitesse de la roue droite", "rad/s"},
                     {"Recoiling", "Recul après un choc"},
                     {"AutoMode", "Pilote automatique"}},
      .Parameters = {{"SpinMax", "Vitesse de roue maximale", "rad/s", 10.0, 0.5, 50, 0.5},
                     {"Track", "Voie (écart des roues)", "m", 0.15, 0.05, 0.5, 0.01},
                     {"RecoilDuration", "Durée du recul", "s", 1.0, 0, 10, 0.1}},
      .Inputs = {{"WheelL.SpinRate", "Vitesse de la roue gauche", "rad/s", "SpinMax"},
                 {"WheelR.SpinRate", "Vitesse de la roue droite", "rad/s", "SpinMax"}},
  };
  return kDescription;
}

bool TRobotK::KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost&) {
  double& left = WheelL->SpinRate;
  double& right = WheelR->SpinRate;
  if (key == vk::Letter('M') && !ctrl) AutoMode = !AutoMode;
  if (key == vk::Numpad(7)) RaiseWithin(left, 0.25, SpinMax);
  if (key == vk::Numpad(1)) LowerWithin(left, 0.25, SpinMax);
  if (key == vk::Numpad(4)) left = 0;
  if (key == vk::Numpad(9)) RaiseWithin(right, 0.25, SpinMax);
  if (key == vk::Numpad(3)) LowerWithin(right, 0.25, SpinMax);
  if (key == vk::Numpad(6)) right = 0;
  if (key == vk::Numpad(5)) left = right = (right + left) * 0.5;
  return true;
}

void TRobotK::StatusPart(const TStatusContext& context, TStatusPart& part) const {
  part.AddWhole(", RobSel:", context.RobSel);
  part.Add(", PosX:", PosX);
  part.Add(", PosY:", PosY);
  part.Add(", WD:", WheelR->SpinRate);
  part.Add(", WG:", WheelL->SpinRate);
  part.Add(", Vit:", Vit);
}
