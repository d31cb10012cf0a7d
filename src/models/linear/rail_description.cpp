// The two rails as their user sees them: no keys and no parameters of their
// own (the toothed rail's shape is chosen in the motor/rail options).
#include "models/constants.h"
#include "models/device_description.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"

const TDeviceDescription& TRail::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Rail denté",
      .Text = "Rail fixe sur lequel court le chariot du moteur à réluctance variable : une dent de "
              "8 mm tous les 24 mm. Sa forme (droit, droit avec une section décalée, courbé en U, "
              "courbé et fermé en boucle) se choisit dans Options MRV / rail. En boucle, il fait "
              "obstacle aux robots, et des anneaux rouges marquent le contact.",
      .Quantities = {{"RailType", "Forme (0 droit à 3 boucle)"},
                     {"Theta", "Cap de la dernière dent trouvée", "rad", kDeg, "°"},
                     {"InContact", "Contact avec un robot"}},
  };
  return kDescription;
}

const TDeviceDescription& TRailAimant::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Rail à aimants",
      .Text = "Rail fixe à aimants permanents du moteur synchrone linéaire : des modules de 96 mm "
              "portant chacun deux aimants de polarités opposées. Il donne au chariot l'aimant "
              "situé sous ses capteurs de Hall et ses deux butées de course ; le module sous le "
              "chariot s'éclaire.",
      .Quantities = {{"MagnetIndex", "Module sous le chariot"},
                     {"XMin", "Butée basse du chariot", "m"},
                     {"XMax", "Butée haute du chariot", "m"}},
  };
  return kDescription;
}
