<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>Devices</name>
    <message>
        <source>Robot K</source>
        <translation>Robot K</translation>
    </message>
    <message>
        <source>Robot à entraînement différentiel : deux roues motrices indépendantes sur un même essieu central. Son mouvement est purement cinématique : la vitesse moyenne des roues le fait avancer selon son cap, leur différence le fait tourner (roue droite plus rapide : il tourne à gauche). Un choc arrête les roues ; en pilote automatique, qui répète un programme de 5 s, il repart alors en arrière. Flèches au sol : vitesse (vert) et vitesse de chaque roue (bleu).</source>
        <translation>Differential-drive robot: two independent driving wheels on one central axle. Its motion is purely kinematic: the mean speed of the wheels moves it forward along its heading, their difference turns it (right wheel faster: it turns left). A collision stops the wheels; in autopilot, which repeats a 5 s program, it then backs away. Arrows on the ground: velocity (green) and speed of each wheel (blue).</translation>
    </message>
    <message>
        <source>roue gauche +/− 0,25 rad/s, bornée à ± la vitesse maximale</source>
        <translation>left wheel +/− 0.25 rad/s, held within ± the maximum speed</translation>
    </message>
    <message>
        <source>roue gauche arrêtée</source>
        <translation>left wheel stopped</translation>
    </message>
    <message>
        <source>roue droite +/− 0,25 rad/s, bornée à ± la vitesse maximale</source>
        <translation>right wheel +/− 0.25 rad/s, held within ± the maximum speed</translation>
    </message>
    <message>
        <source>roue droite arrêtée</source>
        <translation>right wheel stopped</translation>
    </message>
    <message>
        <source>les deux roues à leur vitesse moyenne (tout droit)</source>
        <translation>both wheels at their mean speed (straight ahead)</translation>
    </message>
    <message>
        <source>pilote automatique marche / arrêt</source>
        <translation>autopilot on / off</translation>
    </message>
    <message>
        <source>Position x</source>
        <translation>Position x</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Position y</source>
        <translation>Position y</translation>
    </message>
    <message>
        <source>Cap</source>
        <translation>Heading</translation>
    </message>
    <message>
        <source>rad</source>
        <translation>rad</translation>
    </message>
    <message>
        <source>°</source>
        <translation>°</translation>
    </message>
    <message>
        <source>Vitesse (avant)</source>
        <translation>Speed (forward)</translation>
    </message>
    <message>
        <source>m/s</source>
        <translation>m/s</translation>
    </message>
    <message>
        <source>Vitesse de rotation</source>
        <translation>Turn rate</translation>
    </message>
    <message>
        <source>rad/s</source>
        <translation>rad/s</translation>
    </message>
    <message>
        <source>°/s</source>
        <translation>°/s</translation>
    </message>
    <message>
        <source>Vitesse de la roue gauche</source>
        <translation>Left wheel speed</translation>
    </message>
    <message>
        <source>Vitesse de la roue droite</source>
        <translation>Right wheel speed</translation>
    </message>
    <message>
        <source>Recul après un choc</source>
        <translation>Backing away after a collision</translation>
    </message>
    <message>
        <source>Pilote automatique</source>
        <translation>Autopilot</translation>
    </message>
    <message>
        <source>Vitesse de roue maximale</source>
        <translation>Maximum wheel speed</translation>
    </message>
    <message>
        <source>Voie (écart des roues)</source>
        <translation>Track (wheel spacing)</translation>
    </message>
    <message>
        <source>Durée du recul</source>
        <translation>Backing time</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Robot 2 roues</source>
        <translation>Two-wheel robot</translation>
    </message>
    <message>
        <source>Robot à deux roues, base du robot 4 roues et du robot K. Il dérive à vitesse constante le long de l&apos;axe y, quel que soit son cap. Ses dimensions sont celles de toutes les roues, essieux et caisses dessinés.</source>
        <translation>Two-wheel robot, the base of the four-wheel robot and of robot K. It drifts at constant speed along the y axis, whatever its heading. Its dimensions are those of every wheel, axle and body drawn.</translation>
    </message>
    <message>
        <source>vitesse 0,1 m/s ou arrêt</source>
        <translation>speed 0.1 m/s or stop</translation>
    </message>
    <message>
        <source>Vitesse y</source>
        <translation>Speed y</translation>
    </message>
    <message>
        <source>Monocycle</source>
        <translation>Monocycle</translation>
    </message>
    <message>
        <source>Pendule inversé : une tige montée sur l&apos;axe d&apos;une roue unique qui roule le long de l&apos;axe y. Un couple entre la roue et la tige la maintient debout ; un régulateur PI(D) avec anti-emballement le calcule tous les trois pas d&apos;intégration pour amener l&apos;angle de la tige à sa consigne. Régulateur coupé, le couple se règle à la main. Intégration de Runge-Kutta d&apos;ordre 4 ; une tige tombée reste au sol jusqu&apos;à la remise à zéro.</source>
        <translation>Inverted pendulum: a rod mounted on the axle of a single wheel that rolls along the y axis. A torque between the wheel and the rod keeps it upright; a PI(D) controller with anti-windup computes it every three integration steps to bring the rod&apos;s angle to its set point. With the controller off, the torque is set by hand. Fourth-order Runge-Kutta integration; a fallen rod stays on the ground until the reset.</translation>
    </message>
    <message>
        <source>régulateur marche / arrêt (l&apos;arrêt annule le couple)</source>
        <translation>controller on / off (off cancels the torque)</translation>
    </message>
    <message>
        <source>couple +/− 0,1 N·m, borné à ± le couple maximal</source>
        <translation>torque +/− 0.1 N·m, held within ± the maximum torque</translation>
    </message>
    <message>
        <source>couple nul</source>
        <translation>zero torque</translation>
    </message>
    <message>
        <source>consigne d&apos;angle +/− 6°, bornée à ± la consigne maximale</source>
        <translation>angle set point +/− 6°, held within ± the maximum set point</translation>
    </message>
    <message>
        <source>consigne nulle</source>
        <translation>zero set point</translation>
    </message>
    <message>
        <source>drapeau de pilote automatique (pas de programme pour cet appareil)</source>
        <translation>autopilot flag (no program for this device)</translation>
    </message>
    <message>
        <source>Angle de la tige</source>
        <translation>Rod angle</translation>
    </message>
    <message>
        <source>Vitesse angulaire de la tige</source>
        <translation>Rod angular velocity</translation>
    </message>
    <message>
        <source>Vitesse</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Couple</source>
        <translation>Torque</translation>
    </message>
    <message>
        <source>N·m</source>
        <translation>N·m</translation>
    </message>
    <message>
        <source>Consigne d&apos;angle</source>
        <translation>Angle set point</translation>
    </message>
    <message>
        <source>Terme intégral</source>
        <translation>Integral term</translation>
    </message>
    <message>
        <source>Régulateur</source>
        <translation>Controller</translation>
    </message>
    <message>
        <source>Longueur de la tige</source>
        <translation>Rod length</translation>
    </message>
    <message>
        <source>Masse de la tige</source>
        <translation>Rod mass</translation>
    </message>
    <message>
        <source>kg</source>
        <translation>kg</translation>
    </message>
    <message>
        <source>Masse de la roue</source>
        <translation>Wheel mass</translation>
    </message>
    <message>
        <source>Frottement de la tige</source>
        <translation>Rod friction</translation>
    </message>
    <message>
        <source>N·m·s</source>
        <translation>N·m·s</translation>
    </message>
    <message>
        <source>Coefficient de roulement</source>
        <translation>Rolling coefficient</translation>
    </message>
    <message>
        <source>Couple maximal</source>
        <translation>Maximum torque</translation>
    </message>
    <message>
        <source>Consigne d&apos;angle maximale</source>
        <translation>Maximum angle set point</translation>
    </message>
    <message>
        <source>Gain proportionnel Kp</source>
        <translation>Proportional gain Kp</translation>
    </message>
    <message>
        <source>N·m/rad</source>
        <translation>N·m/rad</translation>
    </message>
    <message>
        <source>Gain intégral Ki</source>
        <translation>Integral gain Ki</translation>
    </message>
    <message>
        <source>Gain dérivé Kd</source>
        <translation>Derivative gain Kd</translation>
    </message>
    <message>
        <source>Période du régulateur</source>
        <translation>Controller period</translation>
    </message>
    <message>
        <source>pas</source>
        <translation>steps</translation>
    </message>
    <message>
        <source>Robot 4 roues</source>
        <translation>Four-wheel robot</translation>
    </message>
    <message>
        <source>Robot à quatre roues dont les deux roues avant sont directrices. Il se déplace comme un point matériel sous une force de traction, dirigée selon les roues avant, et un frottement opposé à sa vitesse (une part sèche plafonnée et une part visqueuse) ; son cap tourne comme celui d&apos;une voiture. Un choc coupe la traction ; en pilote automatique, qui répète un parcours de 12 s, il recule alors avec les commandes inversées. Flèches au sol : frottement (rouge), vitesse (vert), traction (bleu).</source>
        <translation>Four-wheel robot whose two front wheels steer. It moves as a point mass under a traction force, directed along the front wheels, and a friction opposed to its velocity (a capped dry part and a viscous part); its heading turns as a car&apos;s does. A collision cuts the traction; in autopilot, which repeats a 12 s course, it then backs up with the commands reversed. Arrows on the ground: friction (red), velocity (green), traction (blue).</translation>
    </message>
    <message>
        <source>traction +/− 0,1 N, bornée à ± la traction maximale</source>
        <translation>traction +/− 0.1 N, held within ± the maximum traction</translation>
    </message>
    <message>
        <source>traction nulle</source>
        <translation>zero traction</translation>
    </message>
    <message>
        <source>braquage à gauche / à droite de 0,1 rad, borné à ± le braquage maximal</source>
        <translation>steer left / right by 0.1 rad, held within ± the maximum steering</translation>
    </message>
    <message>
        <source>roues droites</source>
        <translation>wheels straight</translation>
    </message>
    <message>
        <source>Traction (commande)</source>
        <translation>Traction (command)</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>Braquage (commande)</source>
        <translation>Steering (command)</translation>
    </message>
    <message>
        <source>Frottement</source>
        <translation>Friction</translation>
    </message>
    <message>
        <source>Force résultante</source>
        <translation>Resultant force</translation>
    </message>
    <message>
        <source>Masse</source>
        <translation>Mass</translation>
    </message>
    <message>
        <source>Empattement</source>
        <translation>Wheelbase</translation>
    </message>
    <message>
        <source>Traction maximale</source>
        <translation>Maximum traction</translation>
    </message>
    <message>
        <source>Braquage maximal</source>
        <translation>Maximum steering</translation>
    </message>
    <message>
        <source>Frottement sec maximal</source>
        <translation>Maximum dry friction</translation>
    </message>
    <message>
        <source>Frottement visqueux</source>
        <translation>Viscous friction</translation>
    </message>
    <message>
        <source>N·s/m</source>
        <translation>N·s/m</translation>
    </message>
    <message>
        <source>Bicycle (gyropode)</source>
        <translation>Bicycle (self-balancing)</translation>
    </message>
    <message>
        <source>Robot à deux roues côte à côte portant une tige en équilibre sur leur essieu, mû par deux couples : leur somme équilibre la tige et fait avancer le robot, leur différence le fait tourner. Le régulateur PI(D) du monocycle applique le même couple aux deux roues et ne fait donc jamais tourner le robot ; régulateur coupé, les deux couples se règlent à la main. Une tige tombée repose au sol à l&apos;angle de contact tant que les couples ne la relèvent pas.</source>
        <translation>Robot with two wheels side by side carrying a rod balanced on their axle, driven by two torques: their sum balances the rod and moves the robot forward, their difference turns it. The monocycle&apos;s PI(D) controller applies the same torque to both wheels and so never turns the robot; with the controller off, the two torques are set by hand. A fallen rod rests on the ground at the contact angle until the torques raise it.</translation>
    </message>
    <message>
        <source>régulateur marche / arrêt (l&apos;arrêt annule les deux couples)</source>
        <translation>controller on / off (off cancels both torques)</translation>
    </message>
    <message>
        <source>couple 1 +/− 0,1 N·m, borné à ± le couple maximal</source>
        <translation>torque 1 +/− 0.1 N·m, held within ± the maximum torque</translation>
    </message>
    <message>
        <source>couple 1 nul</source>
        <translation>zero torque 1</translation>
    </message>
    <message>
        <source>couple 2 +/− 0,1 N·m, borné à ± le couple maximal</source>
        <translation>torque 2 +/− 0.1 N·m, held within ± the maximum torque</translation>
    </message>
    <message>
        <source>couple 2 nul</source>
        <translation>zero torque 2</translation>
    </message>
    <message>
        <source>Vitesse de lacet</source>
        <translation>Yaw rate</translation>
    </message>
    <message>
        <source>Couple 1</source>
        <translation>Torque 1</translation>
    </message>
    <message>
        <source>Couple 2</source>
        <translation>Torque 2</translation>
    </message>
    <message>
        <source>Masse de l&apos;essieu</source>
        <translation>Axle mass</translation>
    </message>
    <message>
        <source>Masse d&apos;une roue</source>
        <translation>Mass of one wheel</translation>
    </message>
    <message>
        <source>Frottement de roulement</source>
        <translation>Rolling friction</translation>
    </message>
    <message>
        <source>Frottement de lacet</source>
        <translation>Yaw friction</translation>
    </message>
    <message>
        <source>Moteur linéaire à réluctance variable</source>
        <translation>Linear switched reluctance motor</translation>
    </message>
    <message>
        <source>Chariot d&apos;un moteur linéaire triphasé à réluctance variable qui court sur le rail denté. Une seule phase est alimentée à la fois : son pôle est attiré vers la dent la plus proche, et la phase change à la fréquence d&apos;alimentation (second curseur de la barre d&apos;outils), si bien que le chariot avance d&apos;une largeur de dent par changement. Les forces suivent l&apos;un des trois modèles choisis dans Options MRV / rail. Flèches : vitesse (vert), force de propulsion (rouge), force normale (bleu), résultante (magenta).</source>
        <translation>Carriage of a three-phase linear switched reluctance motor running on the toothed rail. One phase at a time is supplied: its pole is drawn towards the nearest tooth, and the phase changes at the supply frequency (second slider of the toolbar), so that the carriage moves by one tooth width per change. The forces follow one of the three models chosen in Options MRV / rail. Arrows: velocity (green), propulsion force (red), normal force (blue), resultant (magenta).</translation>
    </message>
    <message>
        <source>alimentation des phases marche / arrêt</source>
        <translation>phase supply on / off</translation>
    </message>
    <message>
        <source>dynamique marche / arrêt (vitesse x remise à 0 ; à l&apos;arrêt, glissement lent vers −x)</source>
        <translation>dynamics on / off (speed x set to 0; when off, slow slide towards −x)</translation>
    </message>
    <message>
        <source>ouvre / ferme le journal capture.dat</source>
        <translation>opens / closes the log capture.dat</translation>
    </message>
    <message>
        <source>Phase alimentée</source>
        <translation>Phase supplied</translation>
    </message>
    <message>
        <source>Écart pôle – dent</source>
        <translation>Pole – tooth offset</translation>
    </message>
    <message>
        <source>Recouvrement pôle – dent</source>
        <translation>Pole – tooth overlap</translation>
    </message>
    <message>
        <source>Force de propulsion Fx</source>
        <translation>Propulsion force Fx</translation>
    </message>
    <message>
        <source>Force de guidage Fy</source>
        <translation>Guidance force Fy</translation>
    </message>
    <message>
        <source>Force normale Fz</source>
        <translation>Normal force Fz</translation>
    </message>
    <message>
        <source>Coefficient de force K</source>
        <translation>Force coefficient K</translation>
    </message>
    <message>
        <source>Modèle des forces (1 à 3)</source>
        <translation>Force model (1 to 3)</translation>
    </message>
    <message>
        <source>Alimentation des phases</source>
        <translation>Phase supply</translation>
    </message>
    <message>
        <source>Dynamique</source>
        <translation>Dynamics</translation>
    </message>
    <message>
        <source>Masse du chariot</source>
        <translation>Carriage mass</translation>
    </message>
    <message>
        <source>Entrefer</source>
        <translation>Air gap</translation>
    </message>
    <message>
        <source>Courant des enroulements</source>
        <translation>Winding current</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>Rail denté</source>
        <translation>Toothed rail</translation>
    </message>
    <message>
        <source>Rail fixe sur lequel court le chariot du moteur à réluctance variable : une dent de 8 mm tous les 24 mm. Sa forme (droit, droit avec une section décalée, courbé en U, courbé et fermé en boucle) se choisit dans Options MRV / rail. En boucle, il fait obstacle aux robots, et des anneaux rouges marquent le contact.</source>
        <translation>Fixed rail on which the switched reluctance motor&apos;s carriage runs: an 8 mm tooth every 24 mm. Its shape (straight, straight with an offset section, curved in a U, curved and closed in a loop) is chosen in Options MRV / rail. As a loop, it is an obstacle to the robots, and red rings mark the contact.</translation>
    </message>
    <message>
        <source>Forme (0 droit à 3 boucle)</source>
        <translation>Shape (0 straight to 3 loop)</translation>
    </message>
    <message>
        <source>Cap de la dernière dent trouvée</source>
        <translation>Heading of the last tooth found</translation>
    </message>
    <message>
        <source>Contact avec un robot</source>
        <translation>Contact with a robot</translation>
    </message>
    <message>
        <source>Moteur linéaire synchrone</source>
        <translation>Linear synchronous motor</translation>
    </message>
    <message>
        <source>Chariot d&apos;un moteur linéaire synchrone triphasé au-dessus du rail à aimants. Trois capteurs de Hall lisent la polarité des aimants et donnent le secteur de commutation (1 à 6) et l&apos;état des six interrupteurs de l&apos;onduleur ; la force de propulsion est proportionnelle au courant de commande. Le chariot porte un pendule inversé qu&apos;un régulateur PID maintient à sa consigne en pilotant ce courant, et se déplace le long de x entre deux butées.</source>
        <translation>Carriage of a three-phase linear synchronous motor above the magnet rail. Three Hall sensors read the polarity of the magnets and give the commutation sector (1 to 6) and the state of the inverter&apos;s six switches; the propulsion force is proportional to the command current. The carriage carries an inverted pendulum that a PID controller holds at its set point by driving this current, and moves along x between two end stops.</translation>
    </message>
    <message>
        <source>pendule et régulateur marche / arrêt</source>
        <translation>pendulum and controller on / off</translation>
    </message>
    <message>
        <source>dynamique marche / arrêt (vitesse remise à 0 ; à l&apos;arrêt, glissement vers −x)</source>
        <translation>dynamics on / off (speed set to 0; when off, slide towards −x)</translation>
    </message>
    <message>
        <source>ouvre / ferme le journal capture.dat (écrit quand le moteur à réluctance est sélectionné)</source>
        <translation>opens / closes the log capture.dat (written while the reluctance motor is selected)</translation>
    </message>
    <message>
        <source>courant +/− 0,1 A, borné à ± le courant maximal</source>
        <translation>current +/− 0.1 A, held within ± the maximum current</translation>
    </message>
    <message>
        <source>courant nul</source>
        <translation>zero current</translation>
    </message>
    <message>
        <source>consigne du pendule +/− 6°, bornée à ± la consigne maximale</source>
        <translation>pendulum set point +/− 6°, held within ± the maximum set point</translation>
    </message>
    <message>
        <source>poussée sur le pendule vers +x / −x</source>
        <translation>push on the pendulum towards +x / −x</translation>
    </message>
    <message>
        <source>Vitesse x</source>
        <translation>Speed x</translation>
    </message>
    <message>
        <source>Courant de commande</source>
        <translation>Command current</translation>
    </message>
    <message>
        <source>Force de propulsion</source>
        <translation>Propulsion force</translation>
    </message>
    <message>
        <source>Secteur de commutation</source>
        <translation>Commutation sector</translation>
    </message>
    <message>
        <source>Position sur la période des aimants</source>
        <translation>Position over the magnet period</translation>
    </message>
    <message>
        <source>Capteur de Hall A</source>
        <translation>Hall sensor A</translation>
    </message>
    <message>
        <source>Capteur de Hall B</source>
        <translation>Hall sensor B</translation>
    </message>
    <message>
        <source>Capteur de Hall C</source>
        <translation>Hall sensor C</translation>
    </message>
    <message>
        <source>Angle du pendule</source>
        <translation>Pendulum angle</translation>
    </message>
    <message>
        <source>Vitesse angulaire du pendule</source>
        <translation>Pendulum angular velocity</translation>
    </message>
    <message>
        <source>Consigne du pendule</source>
        <translation>Pendulum set point</translation>
    </message>
    <message>
        <source>Pendule et régulateur</source>
        <translation>Pendulum and controller</translation>
    </message>
    <message>
        <source>Induction des aimants</source>
        <translation>Magnet induction</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>Courant maximal</source>
        <translation>Maximum current</translation>
    </message>
    <message>
        <source>Longueur du pendule</source>
        <translation>Pendulum length</translation>
    </message>
    <message>
        <source>Masse du pendule</source>
        <translation>Pendulum mass</translation>
    </message>
    <message>
        <source>Amortissement du pivot</source>
        <translation>Pivot damping</translation>
    </message>
    <message>
        <source>A/rad</source>
        <translation>A/rad</translation>
    </message>
    <message>
        <source>Consigne maximale</source>
        <translation>Maximum set point</translation>
    </message>
    <message>
        <source>Rail à aimants</source>
        <translation>Magnet rail</translation>
    </message>
    <message>
        <source>Rail fixe à aimants permanents du moteur synchrone linéaire : des modules de 96 mm portant chacun deux aimants de polarités opposées. Il donne au chariot l&apos;aimant situé sous ses capteurs de Hall et ses deux butées de course ; le module sous le chariot s&apos;éclaire.</source>
        <translation>Fixed permanent-magnet rail of the linear synchronous motor: 96 mm modules each carrying two magnets of opposite polarities. It gives the carriage the magnet under its Hall sensors and its two end stops; the module under the carriage lights up.</translation>
    </message>
    <message>
        <source>Module sous le chariot</source>
        <translation>Module under the carriage</translation>
    </message>
    <message>
        <source>Butée basse du chariot</source>
        <translation>Carriage lower end stop</translation>
    </message>
    <message>
        <source>Butée haute du chariot</source>
        <translation>Carriage upper end stop</translation>
    </message>
    <message>
        <source>Espace</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>oui</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>non</source>
        <translation>no</translation>
    </message>
    <message>
        <source>N·m/rad par exécution du régulateur</source>
        <translation>N·m/rad per controller run</translation>
    </message>
    <message>
        <source>N·m/(rad par exécution du régulateur)</source>
        <translation>N·m/(rad per controller run)</translation>
    </message>
    <message>
        <source>A/rad par exécution du régulateur</source>
        <translation>A/rad per controller run</translation>
    </message>
    <message>
        <source>A/(rad par exécution du régulateur)</source>
        <translation>A/(rad per controller run)</translation>
    </message>
</context>
<context>
    <name>Kinemo</name>
    <message>
        <source>Instruments</source>
        <translation>Instruments</translation>
    </message>
    <message>
        <source>Valeurs</source>
        <translation>Values</translation>
    </message>
    <message>
        <source>Touches</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Paramètres</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Chiffres du pavé numérique (verr. num. active) ou de la rangée du haut. En gris : sans effet dans le mode actuel.</source>
        <translation>Digits of the numeric keypad (Num Lock on) or of the top row. Greyed: no effect in the present mode.</translation>
    </message>
    <message>
        <source>Aucun paramètre réglable.</source>
        <translation>No adjustable parameter.</translation>
    </message>
    <message>
        <source>Valeurs d&apos;origine</source>
        <translation>Original values</translation>
    </message>
    <message>
        <source>Visualisation 3D et simulation de mouvement</source>
        <translation>3D visualisation and motion simulation</translation>
    </message>
    <message>
        <source>Select &amp;Robot</source>
        <translation>Select &amp;Robot</translation>
    </message>
    <message>
        <source>Sélectionne le robot actif qui va prendre les commandes au clavier</source>
        <translation>Selects the active robot, which takes the keyboard commands</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Ouvrir une scène…</source>
        <translation>&amp;Open a scene…</translation>
    </message>
    <message>
        <source>Ouvre une simulation enregistrée et la reprend telle quelle</source>
        <translation>Opens a saved simulation and resumes it as it was</translation>
    </message>
    <message>
        <source>&amp;Enregistrer la scène…</source>
        <translation>&amp;Save the scene…</translation>
    </message>
    <message>
        <source>Enregistre toute la simulation dans un fichier pour la reprendre plus tard</source>
        <translation>Saves the whole simulation to a file, to resume it later</translation>
    </message>
    <message>
        <source>&amp;Animate	A</source>
        <translation>&amp;Animate	A</translation>
    </message>
    <message>
        <source>Animate (A)</source>
        <translation>Animate (A)</translation>
    </message>
    <message>
        <source>&amp;Reset robots	R</source>
        <translation>&amp;Reset robots	R</translation>
    </message>
    <message>
        <source>Reset &amp;view</source>
        <translation>Reset &amp;view</translation>
    </message>
    <message>
        <source>Mode &amp;Démo	Ctrl+D</source>
        <translation>&amp;Demo mode	Ctrl+D</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Options &amp;MRV / rail</source>
        <translation>Options &amp;MRV / rail</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Enregistre AVI</source>
        <translation>&amp;Record AVI</translation>
    </message>
    <message>
        <source>Enregistre une séquence en .avi</source>
        <translation>Records a sequence as .avi</translation>
    </message>
    <message>
        <source>Ai&amp;de</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>A &amp;propos</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>&amp;Pas à pas	Espace</source>
        <translation>&amp;Step	Space</translation>
    </message>
    <message>
        <source>Avance la simulation d&apos;un seul pas de temps</source>
        <translation>Advances the simulation by a single time step</translation>
    </message>
    <message>
        <source>&amp;Instruments	F2</source>
        <translation>&amp;Instruments	F2</translation>
    </message>
    <message>
        <source>Valeurs, touches et paramètres de l&apos;appareil sélectionné</source>
        <translation>Values, keys and parameters of the selected device</translation>
    </message>
    <message>
        <source>&amp;Oscilloscope</source>
        <translation>&amp;Oscilloscope</translation>
    </message>
    <message>
        <source>Courbes des grandeurs des appareils en fonction du temps</source>
        <translation>Plots of the devices&apos; quantities against time</translation>
    </message>
    <message>
        <source>&amp;Capture d&apos;écran…</source>
        <translation>&amp;Screenshot…</translation>
    </message>
    <message>
        <source>Enregistre la vue 3D dans une image PNG</source>
        <translation>Saves the 3D view as a PNG image</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation>&amp;Select</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>&amp;Affichage</source>
        <translation>Displ&amp;ay</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;Langue</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Système</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>Change la periode dt d&apos;intégration numérique</source>
        <translation>Changes the numerical integration period dt</translation>
    </message>
    <message>
        <source>Change la fréquence d&apos;alimentation des enroulements du MRVlin</source>
        <translation>Changes the supply frequency of the MRVlin&apos;s windings</translation>
    </message>
    <message>
        <source>La démonstration</source>
        <translation>The demonstration</translation>
    </message>
    <message>
        <source>Les options du moteur et du rail</source>
        <translation>The motor and rail options</translation>
    </message>
    <message>
        <source> un </source>
        <translation> a </translation>
    </message>
    <message>
        <source> et un </source>
        <translation> and a </translation>
    </message>
    <message>
        <source>%1 demande%2, absent de cet ensemble d&apos;appareils</source>
        <translation>%1 needs%2, missing from this set of devices</translation>
    </message>
    <message>
        <source>Oscilloscope</source>
        <translation>Oscilloscope</translation>
    </message>
    <message>
        <source>Capture d&apos;écran</source>
        <translation>Screenshot</translation>
    </message>
    <message>
        <source>Images PNG (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>La capture d&apos;écran n&apos;a pas pu être enregistrée :
%1
(%2)</source>
        <translation>The screenshot could not be saved:
%1
(%2)</translation>
    </message>
    <message>
        <source>pas de vue 3D sur cet affichage</source>
        <translation>no 3D view on this display</translation>
    </message>
    <message>
        <source>la vue 3D n&apos;a pas pu être lue</source>
        <translation>the 3D view could not be read</translation>
    </message>
    <message>
        <source>l&apos;image n&apos;a pas pu être codée</source>
        <translation>the image could not be encoded</translation>
    </message>
    <message>
        <source>&amp;Oui</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Non</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Enregistrer la scène</source>
        <translation>Save the scene</translation>
    </message>
    <message>
        <source>Ouvrir une scène</source>
        <translation>Open a scene</translation>
    </message>
    <message>
        <source>Scènes Kinemo (*.json)</source>
        <translation>Kinemo scenes (*.json)</translation>
    </message>
    <message>
        <source>Dossier :</source>
        <translation>Look in:</translation>
    </message>
    <message>
        <source>Nom du fichier :</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>Type :</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>&amp;Enregistrer</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Ouvrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Reprendre</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Figer</source>
        <translation>Freeze</translation>
    </message>
    <message>
        <source>Durée affichée</source>
        <translation>Time shown</translation>
    </message>
    <message>
        <source>Axes séparés</source>
        <translation>Separate axes</translation>
    </message>
    <message>
        <source>Échelle auto</source>
        <translation>Auto scale</translation>
    </message>
    <message>
        <source>Exporter en CSV…</source>
        <translation>Export as CSV…</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire %1 : %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Exporter en CSV</source>
        <translation>Export as CSV</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Kinemo</source>
        <translation>Kinemo</translation>
    </message>
    <message>
        <source>v 2.3</source>
        <translation>v 2.3</translation>
    </message>
    <message>
        <source>Robots, moteurs linéaires</source>
        <translation>Robots, linear motors</translation>
    </message>
    <message>
        <source>Logiciel libre, 2024</source>
        <translation>Free software, 2024</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Paramètres de la capture AVI</source>
        <translation>AVI capture settings</translation>
    </message>
    <message>
        <source>Nom du fichier</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>fps</source>
        <translation>fps</translation>
    </message>
    <message>
        <source>Nombre d&apos;images par seconde</source>
        <translation>Frames per second</translation>
    </message>
    <message>
        <source>Durée (s)</source>
        <translation>Duration (s)</translation>
    </message>
    <message>
        <source>Durée de la capture</source>
        <translation>Length of the capture</translation>
    </message>
    <message>
        <source>Compression vidéo</source>
        <translation>Video compression</translation>
    </message>
    <message>
        <source>Compresseur</source>
        <translation>Compressor</translation>
    </message>
    <message>
        <source>Images non compressées</source>
        <translation>Uncompressed frames</translation>
    </message>
    <message>
        <source>Motion-JPEG</source>
        <translation>Motion-JPEG</translation>
    </message>
    <message>
        <source>Qualité des images JPEG (1 à 100)</source>
        <translation>Quality of the JPEG frames (1 to 100)</translation>
    </message>
    <message>
        <source>Qualité</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>change le pas d&apos;intégration numérique</source>
        <translation>changes the numerical integration step</translation>
    </message>
    <message>
        <source>dt (s)</source>
        <translation>dt (s)</translation>
    </message>
    <message>
        <source>Options de la MRV linéaire et de son rail</source>
        <translation>Options of the linear SRM and its rail</translation>
    </message>
    <message>
        <source>Type de rail</source>
        <translation>Rail type</translation>
    </message>
    <message>
        <source>Rail droit</source>
        <translation>Straight rail</translation>
    </message>
    <message>
        <source>Rail droit et décallé</source>
        <translation>Straight, offset rail</translation>
    </message>
    <message>
        <source>Rail courbé</source>
        <translation>Curved rail</translation>
    </message>
    <message>
        <source>Rail courbé et fermé</source>
        <translation>Curved, closed rail</translation>
    </message>
    <message>
        <source>Modèle des forces</source>
        <translation>Force model</translation>
    </message>
    <message>
        <source>Modele physique simple</source>
        <translation>Simple physical model</translation>
    </message>
    <message>
        <source>Modele physique simple corrigé</source>
        <translation>Simple physical model, corrected</translation>
    </message>
    <message>
        <source>Modele basée sur la distance</source>
        <translation>Distance-based model</translation>
    </message>
    <message>
        <source>Sélection du robot actif</source>
        <translation>Active robot selection</translation>
    </message>
    <message>
        <source>Robot sélectionné</source>
        <translation>Selected robot</translation>
    </message>
    <message>
        <source>Coordonnées de visualisation</source>
        <translation>View coordinates</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Position centre de vision</source>
        <translation>Position of the centre of view</translation>
    </message>
    <message>
        <source>Profondeur</source>
        <translation>Depth</translation>
    </message>
    <message>
        <source>La page d&apos;aide n&apos;a pas pu être ouverte :
%1</source>
        <translation>The help page could not be opened:
%1</translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture dans capture.dat : le journal est fermé (%1)</source>
        <translation>Write error in capture.dat: the log is closed (%1)</translation>
    </message>
    <message>
        <source>La vue est trop petite pour être enregistrée : il lui faut au moins %1 × %2 pixels.</source>
        <translation>The view is too small to be recorded: it needs at least %1 × %2 pixels.</translation>
    </message>
    <message>
        <source>Au plus %1 images par seconde avec un pas d&apos;intégration de %2 s : chaque pas donne une image au plus.</source>
        <translation>At most %1 frames per second with an integration step of %2 s: each step gives one frame at most.</translation>
    </message>
    <message>
        <source>%1 existe déjà. Voulez-vous le remplacer ?</source>
        <translation>%1 already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Impossible d&apos;ouvrir la scène %1 : %2</source>
        <translation>Cannot open the scene %1: %2</translation>
    </message>
    <message>
        <source>Impossible d&apos;enregistrer la scène %1 : %2</source>
        <translation>Cannot save the scene %1: %2</translation>
    </message>
    <message>
        <source>Le pas d&apos;intégration doit être compris entre 0 et %1 s.</source>
        <translation>The integration step must lie between 0 and %1 s.</translation>
    </message>
    <message>
        <source>Le calcul de l&apos;appareil %1 (%2) a divergé : ses paramètres et le pas d&apos;intégration le rendent instable. Il est remis à son état initial et la simulation est mise en pause.</source>
        <translation>The computation of device %1 (%2) diverged: its parameters and the integration step make it unstable. It is put back in its initial state and the simulation is paused.</translation>
    </message>
    <message>
        <source>capture.dat impossible à ouvrir</source>
        <translation>capture.dat cannot be opened</translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture dans capture.dat : le journal est fermé</source>
        <translation>Write error in capture.dat: the log is closed</translation>
    </message>
    <message>
        <source>Pas de vue OpenGL : l&apos;enregistrement AVI est impossible.</source>
        <translation>No OpenGL view: AVI recording is impossible.</translation>
    </message>
    <message>
        <source>Le nombre d&apos;images par seconde doit être supérieur à zéro.</source>
        <translation>The number of frames per second must be greater than zero.</translation>
    </message>
    <message>
        <source>La durée de la capture doit être positive ou nulle.</source>
        <translation>The length of the capture must be zero or more.</translation>
    </message>
    <message>
        <source>Mémoire insuffisante pour une image de la capture.</source>
        <translation>Not enough memory for a frame of the capture.</translation>
    </message>
    <message>
        <source>Valeur entrée en dehors des limites</source>
        <translation>Value entered out of bounds</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Confirmer l&apos;enregistrement</source>
        <translation>Confirm saving</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>fichier ou dossier introuvable</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>accès refusé</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>c&apos;est un dossier</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>un élément du chemin n&apos;est pas un dossier</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>plus de place sur le disque</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>quota disque dépassé</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>fichier trop grand pour le système</source>
        <translation>file too large for the system</translation>
    </message>
    <message>
        <source>système de fichiers en lecture seule</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>nom de fichier trop long</source>
        <translation>file name too long</translation>
    </message>
    <message>
        <source>erreur d&apos;entrée-sortie</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>aucun programme ne lit ce tube ou ce périphérique</source>
        <translation>no program reads this pipe or device</translation>
    </message>
    <message>
        <source>&apos;%1&apos; n&apos;est pas une valeur entière correcte</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>&apos;%1&apos; n&apos;est pas une valeur à virgule flottante correcte</source>
        <translation>&apos;%1&apos; is not a valid floating-point value</translation>
    </message>
    <message>
        <source>&amp;Centrer sur l&apos;appareil</source>
        <translation>&amp;Centre on the device</translation>
    </message>
    <message>
        <source>Place la caméra au-dessus de l&apos;appareil sélectionné</source>
        <translation>Puts the camera above the selected device</translation>
    </message>
    <message>
        <source>&amp;Suivre l&apos;appareil sélectionné</source>
        <translation>Follow the &amp;selected device</translation>
    </message>
    <message>
        <source>Suivre</source>
        <translation>Follow</translation>
    </message>
    <message>
        <source>Centrer</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>La caméra garde l&apos;appareil sélectionné au centre pendant qu&apos;il se déplace</source>
        <translation>The camera keeps the selected device in the centre while it moves</translation>
    </message>
    <message>
        <source>É&amp;tiquettes</source>
        <translation>Tex&amp;t labels</translation>
    </message>
    <message>
        <source>Toutes</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Appareil sélectionné seulement</source>
        <translation>Selected device only</translation>
    </message>
    <message>
        <source>Aucune</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Simulation arrêtée : période du minuteur à 0 ms</source>
        <translation>Simulation stopped: timer period at 0 ms</translation>
    </message>
    <message>
        <source>Sans couple : sur un rail courbé, le chariot ne tourne pas et s&apos;arrête dans le virage (le modèle basé sur la distance le fait tourner).</source>
        <translation>No torque: on a curved rail the carriage does not turn and stops in the bend (the distance-based model turns it).</translation>
    </message>
    <message>
        <source>Calcule aussi le couple : le chariot suit un rail courbé.</source>
        <translation>Also computes the torque: the carriage follows a curved rail.</translation>
    </message>
    <message>
        <source>%1 = %2 (de %3 à %4, %5 à l&apos;origine)</source>
        <translation>%1 = %2 (%3 to %4, %5 originally)</translation>
    </message>
    <message>
        <source>Période %1 ms</source>
        <translation>Period %1 ms</translation>
    </message>
    <message>
        <source>Fs %1 Hz</source>
        <translation>Fs %1 Hz</translation>
    </message>
    <message>
        <source>Exporter le temps affiché (%1 à %2 s) ou tout l&apos;historique (%3 à %4 s) ?</source>
        <translation>Export the time shown (%1 to %2 s) or the whole history (%3 to %4 s)?</translation>
    </message>
    <message>
        <source>Temps affiché</source>
        <translation>Time shown</translation>
    </message>
    <message>
        <source>Tout l&apos;historique</source>
        <translation>Whole history</translation>
    </message>
    <message>
        <source>Numéro de 0 à %1</source>
        <translation>Number from 0 to %1</translation>
    </message>
</context>
</TS>
