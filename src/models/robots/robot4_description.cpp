// The four-wheel robot as its user sees it: its keys, values and parameters.
#include "models/constants.h"
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/robots/robot4.h"
#include "models/status_part.h"

const TDeviceDescription& TRobot4::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Robot 4 roues",
      .Text = "Robot à quatre roues dont les deux roues avant sont directrices. Il se déplace "
              "comme un point matériel sous une force de traction, dirigée selon les roues avant, "
              "et un frottement opposé à sa vitesse (une part sèche plafonnée et une part "
              "visqueuse) ; son cap tourne comme celui d'une voiture. Un choc coupe la traction ; "
              "en pilote automatique, qui répète un parcours de 12 s, il recule alors avec les "
              "commandes inversées. Flèches au sol : frottement (rouge), vitesse (vert), traction "
              "(bleu).",
      .Commands = {{{vk::Numpad(8), vk::Numpad(2)},
                    "traction +/− 0,1 N, bornée à ± la traction maximale"},
                   {{vk::Numpad(0)}, "traction nulle"},
                   {{vk::Numpad(4), vk::Numpad(6)},
                    "braquage à gauche / à droite de 0,1 rad, borné à ± le braquage maximal"},
                   {{vk::Numpad(5)}, "roues droites"},
                   {{vk::Letter('M')}, "pilote automatique marche / arrêt"}},
      .Quantities = {{"PosX", "Position x", "m"},
                     {"PosY", "Position y", "m"},
                     {"Theta", "Cap", "rad", kDeg, "°"},
                     {"Vit", "Vitesse", "m/s"},
                     {"Omega", "Vitesse de rotation", "rad/s", kDeg, "°/s"},
                     {"Traction", "Traction (commande)", "N"},
                     {"Steer", "Braquage (commande)", "rad", kDeg, "°"},
                     {"Friction", "Frottement", "N"},
                     {"Force", "Force résultante", "N"},
                     {"Recoiling", "Recul après un choc"},
                     {"AutoMode", "Pilote automatique"}},
      .Parameters = {{"Mass", "Masse", "kg", 0.01 + 0.01 + 0.1, 0.01, 5, 0.01},
                     {"Wheelbase", "Empattement", "m", 0.18, 0.05, 0.5, 0.01},
                     {"TractionMax", "Traction maximale", "N", 1.0, 0.1, 10, 0.1},
                     {"SteerMax", "Braquage maximal", "rad", 0.5, 0.05, 1.5, 0.05},
                     {"FrictionStatic", "Frottement sec maximal", "N", 0.2, 0, 5, 0.05},
                     {"FrictionViscous", "Frottement visqueux", "N·s/m", 1.0, 0, 20, 0.1},
                     {"RecoilDuration", "Durée du recul", "s", 1.0, 0, 10, 0.1}},
      .Inputs = {{"Traction", "Traction (commande)", "N", "TractionMax"},
                 {"Steer", "Braquage (commande)", "rad", "SteerMax"}},
  };
  return kDescription;
}

bool TRobot4::KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost&) {
  if (key == vk::Letter('M') && !ctrl) AutoMode = !AutoMode;
  if (key == vk::Numpad(8)) RaiseWithin(Traction, 0.1, TractionMax);
  if (key == vk::Numpad(2)) LowerWithin(Traction, 0.1, TractionMax);
  if (key == vk::Numpad(0)) Traction = 0;
  if (key == vk::Numpad(4)) RaiseWithin(Steer, 0.1, SteerMax);
  if (key == vk::Numpad(6)) LowerWithin(Steer, 0.1, SteerMax);
  if (key == vk::Numpad(5)) Steer = 0;
  return true;
}

void TRobot4::StatusPart(const TStatusContext& context, TStatusPart& part) const {
  part.AddWhole(", RobSel:", context.RobSel);
  part.Add(", d:", Steer);
  part.Add(", dR:", Theta);
  part.Add(", PosX:", PosX);
  part.Add(", PosY:", PosY);
  part.Add(", FT:", Traction);
  part.Add(", Ffr:", Friction);
  part.Add(", Vit:", Vit);
}
