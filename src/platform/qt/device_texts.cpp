// The texts of the devices' descriptions, marked for lupdate. The
// descriptions live in the toolkit-free core, in French; the window translates
// them where it shows them (DeviceTr). A test checks that every text of every
// registered description has its translation, so a new one cannot be missed.
#include <QtGlobal>

namespace {
[[maybe_unused]] const char* const kDeviceTexts[] = {
    QT_TRANSLATE_NOOP("Devices", "Robot K"),
    QT_TRANSLATE_NOOP(
        "Devices", "Robot à entraînement différentiel : deux roues motrices indépendantes sur un "
                   "même essieu central. Son mouvement est purement cinématique : la vitesse "
                   "moyenne des roues le fait avancer selon son cap, leur différence le fait "
                   "tourner (roue droite plus rapide : il tourne à gauche). Un choc arrête les "
                   "roues ; en pilote automatique, qui répète un programme de 5 s, il repart alors "
                   "en arrière. Flèches au sol : vitesse (vert) et vitesse de chaque roue (bleu)."),
    QT_TRANSLATE_NOOP("Devices", "roue gauche +/− 0,25 rad/s, bornée à ± la vitesse maximale"),
    QT_TRANSLATE_NOOP("Devices", "roue gauche arrêtée"),
    QT_TRANSLATE_NOOP("Devices", "roue droite +/− 0,25 rad/s, bornée à ± la vitesse maximale"),
    QT_TRANSLATE_NOOP("Devices", "roue droite arrêtée"),
    QT_TRANSLATE_NOOP("Devices", "les deux roues à leur vitesse moyenne (tout droit)"),
    QT_TRANSLATE_NOOP("Devices", "pilote automatique marche / arrêt"),
    QT_TRANSLATE_NOOP("Devices", "Position x"),
    QT_TRANSLATE_NOOP("Devices", "m"),
    QT_TRANSLATE_NOOP("Devices", "Position y"),
    QT_TRANSLATE_NOOP("Devices", "Cap"),
    QT_TRANSLATE_NOOP("Devices", "rad"),
    QT_TRANSLATE_NOOP("Devices", "°"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse (avant)"),
    QT_TRANSLATE_NOOP("Devices", "m/s"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse de rotation"),
    QT_TRANSLATE_NOOP("Devices", "rad/s"),
    QT_TRANSLATE_NOOP("Devices", "°/s"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse de la roue gauche"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse de la roue droite"),
    QT_TRANSLATE_NOOP("Devices", "Recul après un choc"),
    QT_TRANSLATE_NOOP("Devices", "Pilote automatique"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse de roue maximale"),
    QT_TRANSLATE_NOOP("Devices", "Voie (écart des roues)"),
    QT_TRANSLATE_NOOP("Devices", "Durée du recul"),
    QT_TRANSLATE_NOOP("Devices", "s"),
    QT_TRANSLATE_NOOP("Devices", "Robot 2 roues"),
    QT_TRANSLATE_NOOP("Devices",
                      "Robot à deux roues, base du robot 4 roues et du robot K. Il dérive à "
                      "vitesse constante le long de l'axe y, quel que soit son cap. Ses dimensions "
                      "sont celles de toutes les roues, essieux et caisses dessinés."),
    QT_TRANSLATE_NOOP("Devices", "vitesse 0,1 m/s ou arrêt"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse y"),
    QT_TRANSLATE_NOOP("Devices", "Monocycle"),
    QT_TRANSLATE_NOOP(
        "Devices",
        "Pendule inversé : une tige montée sur l'axe d'une roue unique qui roule le long de l'axe "
        "y. Un couple entre la roue et la tige la maintient debout ; un régulateur PI(D) avec "
        "anti-emballement le calcule tous les trois pas d'intégration pour amener l'angle de la "
        "tige à sa consigne. Régulateur coupé, le couple se règle à la main. Intégration de "
        "Runge-Kutta d'ordre 4 ; une tige tombée reste au sol jusqu'à la remise à zéro."),
    QT_TRANSLATE_NOOP("Devices", "régulateur marche / arrêt (l'arrêt annule le couple)"),
    QT_TRANSLATE_NOOP("Devices", "couple +/− 0,1 N·m, borné à ± le couple maximal"),
    QT_TRANSLATE_NOOP("Devices", "couple nul"),
    QT_TRANSLATE_NOOP("Devices", "consigne d'angle +/− 6°, bornée à ± la consigne maximale"),
    QT_TRANSLATE_NOOP("Devices", "consigne nulle"),
    QT_TRANSLATE_NOOP("Devices",
                      "drapeau de pilote automatique (pas de programme pour cet appareil)"),
    QT_TRANSLATE_NOOP("Devices", "Angle de la tige"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse angulaire de la tige"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse"),
    QT_TRANSLATE_NOOP("Devices", "Couple"),
    QT_TRANSLATE_NOOP("Devices", "N·m"),
    QT_TRANSLATE_NOOP("Devices", "Consigne d'angle"),
    QT_TRANSLATE_NOOP("Devices", "Terme intégral"),
    QT_TRANSLATE_NOOP("Devices", "Régulateur"),
    QT_TRANSLATE_NOOP("Devices", "Longueur de la tige"),
    QT_TRANSLATE_NOOP("Devices", "Masse de la tige"),
    QT_TRANSLATE_NOOP("Devices", "kg"),
    QT_TRANSLATE_NOOP("Devices", "Masse de la roue"),
    QT_TRANSLATE_NOOP("Devices", "Frottement de la tige"),
    QT_TRANSLATE_NOOP("Devices", "N·m·s"),
    QT_TRANSLATE_NOOP("Devices", "Coefficient de roulement"),
    QT_TRANSLATE_NOOP("Devices", "Couple maximal"),
    QT_TRANSLATE_NOOP("Devices", "Consigne d'angle maximale"),
    QT_TRANSLATE_NOOP("Devices", "Gain proportionnel Kp"),
    QT_TRANSLATE_NOOP("Devices", "N·m/rad"),
    QT_TRANSLATE_NOOP("Devices", "Gain intégral Ki"),
    QT_TRANSLATE_NOOP("Devices", "N·m/rad par exécution du régulateur"),
    QT_TRANSLATE_NOOP("Devices", "Gain dérivé Kd"),
    QT_TRANSLATE_NOOP("Devices", "N·m/(rad par exécution du régulateur)"),
    QT_TRANSLATE_NOOP("Devices", "Période du régulateur"),
    QT_TRANSLATE_NOOP("Devices", "pas"),
    QT_TRANSLATE_NOOP("Devices", "Robot 4 roues"),
    QT_TRANSLATE_NOOP(
        "Devices",
        "Robot à quatre roues dont les deux roues avant sont directrices. Il se déplace comme un "
        "point matériel sous une force de traction, dirigée selon les roues avant, et un "
        "frottement opposé à sa vitesse (une part sèche plafonnée et une part visqueuse) ; son cap "
        "tourne comme celui d'une voiture. Un choc coupe la traction ; en pilote automatique, qui "
        "répète un parcours de 12 s, il recule alors avec les commandes inversées. Flèches au sol "
        ": frottement (rouge), vitesse (vert), traction (bleu)."),
    QT_TRANSLATE_NOOP("Devices", "traction +/− 0,1 N, bornée à ± la traction maximale"),
    QT_TRANSLATE_NOOP("Devices", "traction nulle"),
    QT_TRANSLATE_NOOP("Devices",
                      "braquage à gauche / à droite de 0,1 rad, borné à ± le braquage maximal"),
    QT_TRANSLATE_NOOP("Devices", "roues droites"),
    QT_TRANSLATE_NOOP("Devices", "Traction (commande)"),
    QT_TRANSLATE_NOOP("Devices", "N"),
    QT_TRANSLATE_NOOP("Devices", "Braquage (commande)"),
    QT_TRANSLATE_NOOP("Devices", "Frottement"),
    QT_TRANSLATE_NOOP("Devices", "Force résultante"),
    QT_TRANSLATE_NOOP("Devices", "Masse"),
    QT_TRANSLATE_NOOP("Devices", "Empattement"),
    QT_TRANSLATE_NOOP("Devices", "Traction maximale"),
    QT_TRANSLATE_NOOP("Devices", "Braquage maximal"),
    QT_TRANSLATE_NOOP("Devices", "Frottement sec maximal"),
    QT_TRANSLATE_NOOP("Devices", "Frottement visqueux"),
    QT_TRANSLATE_NOOP("Devices", "N·s/m"),
    QT_TRANSLATE_NOOP("Devices", "Bicycle (gyropode)"),
    QT_TRANSLATE_NOOP(
        "Devices", "Robot à deux roues côte à côte portant une tige en équilibre sur leur essieu, "
                   "mû par deux couples : leur somme équilibre la tige et fait avancer le robot, "
                   "leur différence le fait tourner. Le régulateur PI(D) du monocycle applique le "
                   "même couple aux deux roues et ne fait donc jamais tourner le robot ; "
                   "régulateur coupé, les deux couples se règlent à la main. Une tige tombée "
                   "repose au sol à l'angle de contact tant que les couples ne la relèvent pas."),
    QT_TRANSLATE_NOOP("Devices", "régulateur marche / arrêt (l'arrêt annule les deux couples)"),
    QT_TRANSLATE_NOOP("Devices", "couple 1 +/− 0,1 N·m, borné à ± le couple maximal"),
    QT_TRANSLATE_NOOP("Devices", "couple 1 nul"),
    QT_TRANSLATE_NOOP("Devices", "couple 2 +/− 0,1 N·m, borné à ± le couple maximal"),
    QT_TRANSLATE_NOOP("Devices", "couple 2 nul"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse de lacet"),
    QT_TRANSLATE_NOOP("Devices", "Couple 1"),
    QT_TRANSLATE_NOOP("Devices", "Couple 2"),
    QT_TRANSLATE_NOOP("Devices", "Masse de l'essieu"),
    QT_TRANSLATE_NOOP("Devices", "Masse d'une roue"),
    QT_TRANSLATE_NOOP("Devices", "Frottement de roulement"),
    QT_TRANSLATE_NOOP("Devices", "Frottement de lacet"),
    QT_TRANSLATE_NOOP("Devices", "Moteur linéaire à réluctance variable"),
    QT_TRANSLATE_NOOP(
        "Devices",
        "Chariot d'un moteur linéaire triphasé à réluctance variable qui court sur le rail denté. "
        "Une seule phase est alimentée à la fois : son pôle est attiré vers la dent la plus "
        "proche, et la phase change à la fréquence d'alimentation (second curseur de la barre "
        "d'outils), si bien que le chariot avance d'une largeur de dent par changement. Les forces "
        "suivent l'un des trois modèles choisis dans Options MRV / rail. Flèches : vitesse (vert), "
        "force de propulsion (rouge), force normale (bleu), résultante (magenta)."),
    QT_TRANSLATE_NOOP("Devices", "alimentation des phases marche / arrêt"),
    QT_TRANSLATE_NOOP(
        "Devices",
        "dynamique marche / arrêt (vitesse x remise à 0 ; à l'arrêt, glissement lent vers −x)"),
    QT_TRANSLATE_NOOP("Devices", "ouvre / ferme le journal capture.dat"),
    QT_TRANSLATE_NOOP("Devices", "Phase alimentée"),
    QT_TRANSLATE_NOOP("Devices", "Écart pôle – dent"),
    QT_TRANSLATE_NOOP("Devices", "Recouvrement pôle – dent"),
    QT_TRANSLATE_NOOP("Devices", "Force de propulsion Fx"),
    QT_TRANSLATE_NOOP("Devices", "Force de guidage Fy"),
    QT_TRANSLATE_NOOP("Devices", "Force normale Fz"),
    QT_TRANSLATE_NOOP("Devices", "Coefficient de force K"),
    QT_TRANSLATE_NOOP("Devices", "Modèle des forces (1 à 3)"),
    QT_TRANSLATE_NOOP("Devices", "Alimentation des phases"),
    QT_TRANSLATE_NOOP("Devices", "Dynamique"),
    QT_TRANSLATE_NOOP("Devices", "Masse du chariot"),
    QT_TRANSLATE_NOOP("Devices", "Entrefer"),
    QT_TRANSLATE_NOOP("Devices", "Courant des enroulements"),
    QT_TRANSLATE_NOOP("Devices", "A"),
    QT_TRANSLATE_NOOP("Devices", "Rail denté"),
    QT_TRANSLATE_NOOP(
        "Devices",
        "Rail fixe sur lequel court le chariot du moteur à réluctance variable : une dent de 8 mm "
        "tous les 24 mm. Sa forme (droit, droit avec une section décalée, courbé en U, courbé et "
        "fermé en boucle) se choisit dans Options MRV / rail. En boucle, il fait obstacle aux "
        "robots, et des anneaux rouges marquent le contact."),
    QT_TRANSLATE_NOOP("Devices", "Forme (0 droit à 3 boucle)"),
    QT_TRANSLATE_NOOP("Devices", "Cap de la dernière dent trouvée"),
    QT_TRANSLATE_NOOP("Devices", "Contact avec un robot"),
    QT_TRANSLATE_NOOP("Devices", "Moteur linéaire synchrone"),
    QT_TRANSLATE_NOOP(
        "Devices", "Chariot d'un moteur linéaire synchrone triphasé au-dessus du rail à aimants. "
                   "Trois capteurs de Hall lisent la polarité des aimants et donnent le secteur de "
                   "commutation (1 à 6) et l'état des six interrupteurs de l'onduleur ; la force "
                   "de propulsion est proportionnelle au courant de commande. Le chariot porte un "
                   "pendule inversé qu'un régulateur PID maintient à sa consigne en pilotant ce "
                   "courant, et se déplace le long de x entre deux butées."),
    QT_TRANSLATE_NOOP("Devices", "pendule et régulateur marche / arrêt"),
    QT_TRANSLATE_NOOP(
        "Devices", "dynamique marche / arrêt (vitesse remise à 0 ; à l'arrêt, glissement vers −x)"),
    QT_TRANSLATE_NOOP("Devices", "ouvre / ferme le journal capture.dat (écrit quand le moteur à "
                                 "réluctance est sélectionné)"),
    QT_TRANSLATE_NOOP("Devices", "courant +/− 0,1 A, borné à ± le courant maximal"),
    QT_TRANSLATE_NOOP("Devices", "courant nul"),
    QT_TRANSLATE_NOOP("Devices", "consigne du pendule +/− 6°, bornée à ± la consigne maximale"),
    QT_TRANSLATE_NOOP("Devices", "poussée sur le pendule vers +x / −x"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse x"),
    QT_TRANSLATE_NOOP("Devices", "Courant de commande"),
    QT_TRANSLATE_NOOP("Devices", "Force de propulsion"),
    QT_TRANSLATE_NOOP("Devices", "Secteur de commutation"),
    QT_TRANSLATE_NOOP("Devices", "Position sur la période des aimants"),
    QT_TRANSLATE_NOOP("Devices", "Capteur de Hall A"),
    QT_TRANSLATE_NOOP("Devices", "Capteur de Hall B"),
    QT_TRANSLATE_NOOP("Devices", "Capteur de Hall C"),
    QT_TRANSLATE_NOOP("Devices", "Angle du pendule"),
    QT_TRANSLATE_NOOP("Devices", "Vitesse angulaire du pendule"),
    QT_TRANSLATE_NOOP("Devices", "Consigne du pendule"),
    QT_TRANSLATE_NOOP("Devices", "Pendule et régulateur"),
    QT_TRANSLATE_NOOP("Devices", "Induction des aimants"),
    QT_TRANSLATE_NOOP("Devices", "T"),
    QT_TRANSLATE_NOOP("Devices", "Courant maximal"),
    QT_TRANSLATE_NOOP("Devices", "Longueur du pendule"),
    QT_TRANSLATE_NOOP("Devices", "Masse du pendule"),
    QT_TRANSLATE_NOOP("Devices", "Amortissement du pivot"),
    QT_TRANSLATE_NOOP("Devices", "A/rad"),
    QT_TRANSLATE_NOOP("Devices", "A/rad par exécution du régulateur"),
    QT_TRANSLATE_NOOP("Devices", "A/(rad par exécution du régulateur)"),
    QT_TRANSLATE_NOOP("Devices", "Consigne maximale"),
    QT_TRANSLATE_NOOP("Devices", "Rail à aimants"),
    QT_TRANSLATE_NOOP("Devices",
                      "Rail fixe à aimants permanents du moteur synchrone linéaire : des modules "
                      "de 96 mm portant chacun deux aimants de polarités opposées. Il donne au "
                      "chariot l'aimant situé sous ses capteurs de Hall et ses deux butées de "
                      "course ; le module sous le chariot s'éclaire."),
    QT_TRANSLATE_NOOP("Devices", "Module sous le chariot"),
    QT_TRANSLATE_NOOP("Devices", "Butée basse du chariot"),
    QT_TRANSLATE_NOOP("Devices", "Butée haute du chariot"),
    // A flag's value.
    QT_TRANSLATE_NOOP("Devices", "oui"),
    QT_TRANSLATE_NOOP("Devices", "non"),
    // The one key whose legend is a word.
    QT_TRANSLATE_NOOP("Devices", "Espace"),
};
} // namespace
