#!/usr/bin/env bash
# Makes the example scenes in resources/scenes by running the program: each is
# the state after a list of actions, saved paused, as a user would prepare it.
# Usage: scripts/make_scenes.sh [path/to/kinemo]   (default build/src/kinemo)
set -euo pipefail
cd "$(dirname "$0")/.."
kinemo=${1:-build/src/kinemo}
out=resources/scenes

scene() { # file, actions
  "$kinemo" --headless --do "$2" --state "$out/$1" >/dev/null
  echo "$out/$1"
}

# The pendulum of the synchronous motor held upright by its controller on the
# magnet rail, the camera close on the carriage.
scene pendule-en-equilibre.json \
  "key:G menu:Animate ticks:600 key:A set:xv=-1.46 set:zv=-1 set:yv=0.05 set:zpos=0.45 set:yrot=-35 set:xrot=20"

# The reluctance carriage driven round the closed loop at 5 Hz with the
# distance-based force model (the only one with a torque, which steers it
# round), caught in the first bend.
scene moteur-reluctance-boucle.json \
  "combo:6 set:RailType=3 set:ForceModel=3 set:SBfs=50 menu:Animate ticks:800 key:A set:xv=0.15 set:zv=-0.85 set:yv=0 set:zpos=0.8 set:yrot=-20 set:xrot=35"

# The monocycle and the two-wheel robot balanced, then both controllers
# switched off: the keypad's torques must now keep them up.
scene robots-en-equilibre-sans-regulateur.json \
  "combo:3 menu:Animate ticks:400 key:G combo:4 key:G key:A set:xv=1.25 set:zv=-0.25 set:yv=0.1 set:zpos=1 set:yrot=-30 set:xrot=20"
