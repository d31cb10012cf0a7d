// The monocycle as its user sees it: its keys, values and parameters.
#include "models/constants.h"
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/robots/monocycle.h"

const TDeviceDescription& TMonocycle::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Monocycle",
      .Text = "Pendule inversé : une tige montée sur l'axe d'une roue unique qui roule le long de "
              "l'axe y. Un couple entre la roue et la tige la maintient debout ; un régulateur "
              "PI(D) avec anti-emballement le calcule tous les trois pas d'intégration pour amener "
              "l'angle de la tige à sa consigne. Régulateur coupé, le couple se règle à la main. "
              "Intégration de Runge-Kutta d'ordre 4 ; une tige tombée reste au sol jusqu'à la "
              "remise à zéro.",
      .Commands = {{{vk::Letter('G')}, "régulateur marche / arrêt (l'arrêt annule le couple)"},
                   {{vk::Numpad(8), vk::Numpad(2)},
                    "couple +/− 0,1 N·m, borné à ± le couple maximal",
                    "ControllerOn",
                    false},
                   {{vk::Numpad(5)}, "couple nul", "ControllerOn", false},
                   {{vk::Numpad(8), vk::Numpad(2)},
                    "consigne d'angle +/− 6°, bornée à ± la consigne maximale",
                    "ControllerOn",
                    true},
                   {{vk::Numpad(5)}, "consigne nulle", "ControllerOn", true},
                   {{vk::Letter('M')},
                    "drapeau de pilote automatique (pas de programme pour cet appareil)"}},
      .Quantities = {{"State[0]", "Angle de la tige", "rad", kDeg, "°"},
                     {"State[1]", "Vitesse angulaire de la tige", "rad/s", kDeg, "°/s"},
                     {"State[2]", "Position y", "m"},
                     {"State[3]", "Vitesse", "m/s"},
                     {"Ce", "Couple", "N·m"},
                     {"Av", "Consigne d'angle", "rad", kDeg, "°"},
                     {"ErrIntegral", "Terme intégral", "N·m"},
                     {"ControllerOn", "Régulateur"}},
      .Parameters = {{"L", "Longueur de la tige", "m", 0.15, 0.05, 1, 0.01},
                     {"PendulumMass", "Masse de la tige", "kg", 0.2, 0.01, 5, 0.01},
                     {"WheelMass", "Masse de la roue", "kg", 0.1, 0.01, 5, 0.01},
                     {"TiltFriction", "Frottement de la tige", "N·m·s", 0.8, 0, 10, 0.1},
                     {"RollFriction", "Coefficient de roulement", "", 10, 0, 100, 1},
                     {"CeMax", "Couple maximal", "N·m", 3, 0.1, 20, 0.1},
                     {"AvMax", "Consigne d'angle maximale", "rad", kPi / 3, 0, 1.5, 0.05},
                     {"Kp", "Gain proportionnel Kp", "N·m/rad", 5, 0, 100, 0.5},
                     {"Ki", "Gain intégral Ki", "N·m/rad", 0.3, 0, 10, 0.05,
                      "N·m/rad par exécution du régulateur"},
                     {"Kd", "Gain dérivé Kd", "N·m/rad", 0, 0, 100, 0.1,
                      "N·m/(rad par exécution du régulateur)"},
                     {"CtrlPeriod", "Période du régulateur", "pas", 3, 1, 100, 1}},
      .Inputs = {{"Ce", "Couple", "N·m", "CeMax"}, {"Av", "Consigne d'angle", "rad", "AvMax"}},
  };
  return kDescription;
}

bool TMonocycle::KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost&) {
  if (key == vk::Letter('M') && !ctrl) AutoMode = !AutoMode;
  if (key == vk::Letter('G')) {
    ControllerOn = !ControllerOn;
    if (!ControllerOn) Ce = 0;
  }
  if (!ControllerOn) {
    if (key == vk::Numpad(8)) RaiseWithin(Ce, 0.1, CeMax);
    if (key == vk::Numpad(2)) LowerWithin(Ce, 0.1, CeMax);
    if (key == vk::Numpad(5)) Ce = 0;
  } else {
    if (key == vk::Numpad(8)) RaiseWithin(Av, kSetPointStep, AvMax);
    if (key == vk::Numpad(2)) LowerWithin(Av, kSetPointStep, AvMax);
    if (key == vk::Numpad(5)) Av = 0;
  }
  return true;
}
