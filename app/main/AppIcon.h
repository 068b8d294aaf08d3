#pragma once
// The program's icon: a silo with a thermometer, drawn at the sizes a desktop asks for.
#include <QIcon>

QIcon LoadApplicationIcon();
