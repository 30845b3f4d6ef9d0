// The game's main program: runs after start-up and ends only through the
// program end.
#pragma once

double MainProgram();
