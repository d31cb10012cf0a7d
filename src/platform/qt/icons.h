// The program's pictures, drawn in code so that no image file is needed: the
// program icon and the tool-button images.
#pragma once

#include <QIcon>

QIcon ProgramIcon();
// Run / pause: a play triangle beside two pause bars.
QIcon AnimateIcon();
// Reset view: a camera eye inside a circular arrow.
QIcon ResetViewIcon();
// Single step: a bar before a play triangle.
QIcon StepIcon();
