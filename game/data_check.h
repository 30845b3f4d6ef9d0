// The check that the game's shared data arrived: without its font strip and
// shared pictures every page would come out blank.
#pragma once

// Ends the game with a message naming the archive and the first picture
// that did not load, on standard error, in a message box and in the error
// log, with exit status 1. Returns when everything is there.
void RequireSharedPictures();
