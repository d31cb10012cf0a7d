// The bicycle as its user sees it: its keys, values and parameters.
#include "models/constants.h"
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/robots/bicycle.h"

const TDeviceDescription& TBicycle::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Bicycle (gyropode)",
      .Text = "Robot à deux roues côte à côte portant une tige en équilibre sur leur essieu, mû "
              "par deux couples : leur somme équilibre la tige et fait avancer le robot, leur "
              "différence le fait tourner. Le régulateur PI(D) du monocycle applique le même "
              "couple aux deux roues et ne fait donc jamais tourner le robot ; régulateur coupé, "
              "les deux couples se règlent à la main. Une tige tombée repose au sol à l'angle de "
              "contact tant que les couples ne la relèvent pas.",
      .Commands = {{{vk::Letter('G')},
                    "régulateur marche / arrêt (l'arrêt annule les deux couples)"},
                   {{vk::Numpad(7), vk::Numpad(1)},
                    "couple 1 +/− 0,1 N·m, borné à ± le couple maximal",
                    "ControllerOn",
                    false},
                   {{vk::Numpad(4)}, "couple 1 nul", "ControllerOn", false},
                   {{vk::Numpad(9), vk::Numpad(3)},
                    "couple 2 +/− 0,1 N·m, borné à ± le couple maximal",
                    "ControllerOn",
                    false},
                   {{vk::Numpad(6)}, "couple 2 nul", "ControllerOn", false},
                   {{vk::Numpad(8), vk::Numpad(2)},
                    "consigne d'angle +/− 6°, bornée à ± la consigne maximale",
                    "ControllerOn",
                    true},
                   {{vk::Numpad(5)}, "consigne nulle", "ControllerOn", true},
                   {{vk::Letter('M')},
                    "drapeau de pilote automatique (pas de programme pour cet appareil)"}},
      .Quantities = {{"State[0]", "Angle de la tige", "rad", kDeg, "°"},
                     {"State[1]", "Vitesse angulaire de la tige", "rad/s", kDeg, "°/s"},
                     {"State[2]", "Cap", "rad", kDeg, "°"},
                     {"State[3]", "Vitesse de lacet", "rad/s", kDeg, "°/s"},
                     {"PosX", "Position x", "m"},
                     {"PosY", "Position y", "m"},
                     {"Vit", "Vitesse", "m/s"},
                     {"Torque1", "Couple 1", "N·m"},
                     {"Torque2", "Couple 2", "N·m"},
                     {"Av", "Consigne d'angle", "rad", kDeg, "°"},
                     {"ControllerOn", "Régulateur"}},
      .Parameters = {{"L", "Longueur de la tige", "m", 0.25, 0.05, 1, 0.01},
                     {"Track", "Voie (écart des roues)", "m", 0.18, 0.05, 0.5, 0.01},
                     {"PendulumMass", "Masse de la tige", "kg", 0.2, 0.01, 5, 0.01},
                     {"AxleMass", "Masse de l'essieu", "kg", 0.2, 0.01, 5, 0.01},
                     {"WheelMass", "Masse d'une roue", "kg", 0.1, 0.01, 5, 0.01},
                     {"TiltFriction", "Frottement de la tige", "N·m·s", 0.8, 0, 10, 0.1},
                     {"RollFriction", "Frottement de roulement", "N·s/m", 1.0, 0, 20, 0.1},
                     {"YawFriction", "Frottement de lacet", "N·m·s", 10, 0, 100, 1},
                     {"TorqueMax", "Couple maximal", "N·m", 3, 0.1, 20, 0.1},
                     {"AvMax", "Consigne d'angle maximale", "rad", kPi / 3, 0, 1.5, 0.05},
                     {"Kp", "Gain proportionnel Kp", "N·m/rad", 5, 0, 100, 0.5},
                     {"Ki", "Gain intégral Ki", "N·m/rad", 0.3, 0, 10, 0.05,
                      "N·m/rad par exécution du régulateur"},
                     {"Kd", "Gain dérivé Kd", "N·m/rad", 0, 0, 100, 0.1,
                      "N·m/(rad par exécution du régulateur)"},
                     {"CtrlPeriod", "Période du régulateur", "pas", 3, 1, 100, 1}},
      .Inputs = {{"Torque1", "Couple 1", "N·m", "TorqueMax"},
                 {"Torque2", "Couple 2", "N·m", "TorqueMax"},
                 {"Av", "Consigne d'angle", "rad", "AvMax"}},
  };
  return kDescription;
}

bool TBicycle::KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost&) {
  if (key == vk::Letter('M') && !ctrl) AutoMode = !AutoMode;
  if (key == vk::Letter('G')) {
    ControllerOn = !ControllerOn;
    if (!ControllerOn) Torque1 = Torque2 = 0;
  }
  if (!ControllerOn) {
    if (key == vk::Numpad(9)) RaiseWithin(Torque2, 0.1, TorqueMax);
    if (key == vk::Numpad(3)) LowerWithin(Torque2, 0.1, TorqueMax);
    if (key == vk::Numpad(6)) Torque2 = 0;
    if (key == vk::Numpad(7)) RaiseWithin(Torque1, 0.1, TorqueMax);
    if (key == vk::Numpad(1)) LowerWithin(Torque1, 0.1, TorqueMax);
    if (key == vk::Numpad(4)) Torque1 = 0;
  } else {
    if (key == vk::Numpad(8)) RaiseWithin(Av, kSetPointStep, AvMax);
    if (key == vk::Numpad(2)) LowerWithin(Av, kSetPointStep, AvMax);
    if (key == vk::Numpad(5)) Av = 0;
  }
  return true;
}
