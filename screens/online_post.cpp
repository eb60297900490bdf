// The online post of a new high score.
#include "app/main_window.h"

// The high-score server is not reached yet: an answer of Y stores the entry like any other.
void TForm1::PostHighScore() {}
