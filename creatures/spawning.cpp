// Creature kinds and how creatures come into the world.
#include "app/main_window.h"

void TForm1::EmergeFromTunnel(TunnelRec&) {}

void TForm1::SpawnMibbet(int, int, int) {}

void TForm1::EmergeFromHoles(int) {}
